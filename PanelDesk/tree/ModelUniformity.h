#pragma once

#include "PanelData.h"

#include <string>
#include <vector>

namespace lumivane {

// How alike the models of some monitors are, for commands that need one model.
enum ModelUniformity
{
    kNoMonitor = 0,
    kOneModel = 1,
    kMixedModels = 2,
    kMixedWithZr = 3, // the ZR-1190 family is involved: its commands differ from all others
};

// Compares every monitor with the first: another model name (case-sensitive, or ignoring case) makes the
// set mixed, and at once kMixedWithZr when that monitor is a ZR-1190 ("Brela") or the first one is of
// kind 6; the same name with other model flags than bit 1 makes it mixed too. `model` and `flags`
// receive the first monitor's model name and flags.
int modelUniformity(const std::vector<const PANEL_DATA*>& monitors, bool ignoreCase, std::string& model, int& flags);

} // namespace lumivane
