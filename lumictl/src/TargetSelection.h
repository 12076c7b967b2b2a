#pragma once

#include "CommandLine.h"
#include "PanelRegistry.h"

#include <string>
#include <vector>

namespace lumivane::ctl {

// The monitor named by a panel number or by its name (case ignored); UsageError when there is none.
TESSERA_PANEL_DATA findMonitor(const std::vector<TESSERA_PANEL_DATA>& panels, const std::string& word);

// The number of the group named by its number or its name (case ignored); UsageError when there is none.
int findGroup(const PanelRegistry& registry, const std::string& word);

// The monitors a command works on: the named ones, those of every --group (with its sub-groups) and,
// with --all, every monitor; in the order of the store, each once. Monitors with "Use this monitor"
// cleared are left out unless named. UsageError when nothing is named or a name is unknown.
std::vector<TESSERA_PANEL_DATA> selectTargets(const PanelRegistry& registry, const CommandLine& line,
                                              const std::vector<std::string>& words);

} // namespace lumivane::ctl
