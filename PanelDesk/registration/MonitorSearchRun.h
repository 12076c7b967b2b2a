#pragma once

class QWidget;

namespace lumivane {

struct ConsoleContext;
class CPanelTreeCtrl;

// "Search for Monitors..." of the registration dialog: asks where and how to search ("Select interface"),
// which group receives the monitors found (emptying it first when the operator says so), searches under
// the run window and reports how many were found. The caller validates and stores its form first.
// Returns the number of monitors added; the tree is reloaded afterwards.
int searchForMonitors(ConsoleContext& context, CPanelTreeCtrl& tree, QWidget* owner);

} // namespace lumivane
