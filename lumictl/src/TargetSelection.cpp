#include "TargetSelection.h"

#include <algorithm>
#include <set>

namespace lumivane::ctl {
namespace {

bool equalsIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool isNumber(const std::string& word)
{
    return !word.empty() && word.size() <= 9 && word.find_first_not_of("0123456789") == std::string::npos;
}

} // namespace

TESSERA_PANEL_DATA findMonitor(const std::vector<TESSERA_PANEL_DATA>& panels, const std::string& word)
{
    for (const TESSERA_PANEL_DATA& panel : panels)
        if ((isNumber(word) && panel.nPanelNo == std::stoi(word)) || equalsIgnoringCase(panel.szName, word))
            return panel;
    throw UsageError{"no monitor '" + word + "' (lumictl monitors list)"};
}

int findGroup(const PanelRegistry& registry, const std::string& word)
{
    for (const TESSERA_GROUP_DATA& group : registry.groups())
        if ((isNumber(word) && group.nGroupNo == std::stoi(word)) || equalsIgnoringCase(group.szName, word))
            return group.nGroupNo;
    throw UsageError{"no group '" + word + "' (lumictl groups list)"};
}

std::vector<TESSERA_PANEL_DATA> selectTargets(const PanelRegistry& registry, const CommandLine& line,
                                              const std::vector<std::string>& words)
{
    if (words.empty() && !line.has("group") && !line.has("all"))
        throw UsageError{"name the monitors: panel numbers, names, --group NAME|NUMBER or --all"};
    const std::vector<TESSERA_PANEL_DATA> panels = registry.panels();
    std::set<int> named;
    for (const std::string& word : words)
        named.insert(findMonitor(panels, word).nPanelNo);

    std::set<int> groups;
    for (const std::string& word : line.values("group"))
        groups.insert(findGroup(registry, word));
    const auto allGroups = registry.groups();
    for (bool grew = !groups.empty(); grew;) {
        grew = false;
        for (const TESSERA_GROUP_DATA& group : allGroups)
            if (groups.count(group.nParentNo) && groups.insert(group.nGroupNo).second)
                grew = true;
    }

    std::vector<TESSERA_PANEL_DATA> selected;
    for (const TESSERA_PANEL_DATA& panel : panels) {
        const bool byGroup = panel.bUse && (line.has("all") || groups.count(panel.nGroupNo));
        if (named.count(panel.nPanelNo) || byGroup)
            selected.push_back(panel);
    }
    if (selected.empty())
        throw UsageError{"no monitor in use among the targets"};
    return selected;
}

} // namespace lumivane::ctl
