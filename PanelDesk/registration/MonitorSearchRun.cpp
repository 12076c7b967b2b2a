#include "MonitorSearchRun.h"

#include "CMonitorFindDlg.h"
#include "MonitorSearch.h"
#include "Settings.h"
#include "common/CCommunicateDlg.h"
#include "common/ConsoleContext.h"
#include "common/Prompter.h"
#include "common/UiText.h"
#include "tree/CPanelTreeCtrl.h"

#include <algorithm>
#include <optional>

namespace lumivane {
namespace {

constexpr int kAddedToRoot = 123;
constexpr int kAddedToGroup = 211;
constexpr int kIdsAssigned = 290;
constexpr int kSearchingTitle = 216;
constexpr int kFoundNone = 164;
constexpr int kFound = 159;
constexpr int kFoundSomeUnusable = 250;

// Asks whether the found monitors may go into the selected group, and empties it when the operator says
// so. The group's number, or nothing when the operator cancelled.
std::optional<int> chooseTargetGroup(ConsoleContext& context, CPanelTreeCtrl& tree, QWidget* owner, bool daisyChain)
{
    std::string name;
    const QTreeWidgetItem* group = tree.selectedGroup(name);
    const PANEL_DATA* data = group ? CPanelTreeCtrl::dataOf(group) : nullptr;
    const int groupNo = data ? data->number : 0;
    const QString idNote = daisyChain ? uiText(kIdsAssigned) : QString();

    if (tree.monitorsInSelectedGroup() == 0) {
        Prompt prompt{{}, uiText(kAddedToRoot) + idNote};
        prompt.buttons = QMessageBox::Ok | QMessageBox::Cancel;
        if (context.prompter.ask(owner, prompt) != QMessageBox::Ok)
            return std::nullopt;
        return groupNo;
    }
    Prompt prompt{{}, uiFormat(kAddedToGroup, name.c_str()) + idNote};
    prompt.buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    switch (context.prompter.ask(owner, prompt)) {
    case QMessageBox::Yes:
        tree.deleteMonitorsInSelectedGroup();
        return groupNo;
    case QMessageBox::No:
        return groupNo;
    default:
        return std::nullopt;
    }
}

SearchRequest requestFrom(const CMonitorFindDlg& find, int targetGroup)
{
    SearchRequest request;
    request.ports = searchPortsFor(find.interfaceChoice());
    request.searchPort = find.searchPort();
    request.baudRate = find.baudRate();
    request.daisyChain = find.daisyChain();
    request.targetGroup = targetGroup;
    request.language = processSettings().environment.language;
    return request;
}

// Runs the search on the run window's worker. The worker writes the store only (through its own
// registry, one locked write per monitor); the tree is the caller's to reload.
SearchResult runSearch(ConsoleContext& context, const SearchRequest& request, QWidget* owner)
{
    SearchResult result;
    // Until the LAN part has counted its devices the bar counts the COM ports.
    const int comPorts =
        int(std::count_if(request.ports.begin(), request.ports.end(), [](int port) { return port != 0; }));
    CCommunicateDlg window(
        context.prompter, uiText(kSearchingTitle),
        [&request, &result](RunObserver& observer) {
            PanelRegistry registry;
            result = searchMonitors(request, registry, observer);
            return result.added;
        },
        comPorts, owner);
    window.executeJob();
    return result;
}

void reportResult(ConsoleContext& context, const SearchResult& result, QWidget* owner)
{
    if (!result.storeError.empty())
        context.prompter.error(owner, QString::fromStdString(result.storeError));
    if (result.added == 0)
        context.prompter.plain(owner, uiText(kFoundNone));
    else if (result.someUnusable)
        context.prompter.plain(owner, uiFormat(kFoundSomeUnusable, result.added));
    else
        context.prompter.plain(owner, uiFormat(kFound, result.added));
}

} // namespace

int searchForMonitors(ConsoleContext& context, CPanelTreeCtrl& tree, QWidget* owner)
{
    CMonitorFindDlg find(owner);
    if (context.dialogs.exec(find) != QDialog::Accepted)
        return 0;
    const std::optional<int> targetGroup = chooseTargetGroup(context, tree, owner, find.daisyChain());
    if (!targetGroup)
        return 0;
    const SearchResult result = runSearch(context, requestFrom(find, *targetGroup), owner);
    tree.reload();
    reportResult(context, result, owner);
    return result.added;
}

} // namespace lumivane
