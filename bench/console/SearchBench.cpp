// Time of "Search for Monitors..." in the console (its dialog, the search under the run window, the tree
// reloaded) against the same search as lumictl runs it (the core search, no window), in the same run on
// the same emulated fleet: eight LAN monitors and a daisy chain of three on COM1, searched as "(All)"
// (the LAN, then COM1 to COM256) with daisy-chained monitors. Prints medians over the repetitions.
//   search_bench [repetitions]
#include "Emulator.h"
#include "ModalDialogs.h"
#include "MonitorSearch.h"
#include "PanelRegistry.h"
#include "ScriptedPrompter.h"
#include "StoreFiles.h"
#include "TempFolder.h"
#include "TestConsole.h"
#include "registration/CMonitorFindDlg.h"
#include "registration/MonitorSearchRun.h"
#include "tessera.h"
#include "tree/CPanelTreeCtrl.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

using namespace lumivane;
using namespace lumivane::test;

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kExpected = 11;

std::string fleetText()
{
    std::string text = "data-port 0\nsearch-port 0\n";
    for (int monitor = 1; monitor <= 8; ++monitor)
        text += "lan l" + std::to_string(monitor) + " 127.0.0." + std::to_string(monitor + 1) + "\nmonitor s" +
                std::to_string(monitor) + " model=QX-T988\n";
    return text + "chain com1\nmonitor c1 model=QX-T988\nmonitor c2 model=QX-T988\nmonitor c3 model=QX-T988\n";
}

double timeMs(const std::function<int()>& search, int& found)
{
    const Clock::time_point start = Clock::now();
    found = search();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    TempDataFolder folder;
    TESSERA_Initialize();
    TESSERA_ShowErrorMessage(0);
    std::string error;
    auto fleet = sim::Emulator::startText(fleetText(), &error);
    if (!fleet) {
        std::fprintf(stderr, "search_bench: %s\n", error.c_str());
        return 1;
    }
    ScopedEnvironment lan("LUMIVANE_LAN_SEARCH", fleet->searchTargets());
    ScopedEnvironment com1("LUMIVANE_COM1", fleet->portText("com1"));

    ScriptedPrompter prompter;
    TestConsole console(prompter);
    CPanelTreeCtrl tree(prompter);
    tree.setMode(PanelTreeMode::Registration);
    QWidget owner;
    std::vector<double> window, core;
    int windowFound = 0, coreFound = 0;
    for (int i = 0; i < repetitions; ++i) {
        writePanels({});
        tree.reload();
        console.dialogs.expect<CMonitorFindDlg>([&](CMonitorFindDlg* dialog) {
            child<QLineEdit>(dialog, "searchPortEdit")->setText(QString::number(fleet->searchPort()));
            child<QCheckBox>(dialog, "daisyChainCheck")->setChecked(true);
            child<QPushButton>(dialog, "okButton")->click();
            return dialog->result();
        });
        prompter.answerNext(QMessageBox::Ok); // "The found monitors will be added into Root."
        window.push_back(timeMs([&] { return searchForMonitors(console.context, tree, &owner); }, windowFound));

        writePanels({});
        PanelRegistry registry;
        SearchRequest request;
        request.ports = searchPortsFor(-1);
        request.searchPort = fleet->searchPort();
        request.daisyChain = true;
        RunObserver quiet;
        core.push_back(timeMs([&] { return searchMonitors(request, registry, quiet).added; }, coreFound));
    }
    std::printf("search of 8 LAN monitors and a chain of 3, \"(All)\": console %.0f ms (%d found), "
                "core as lumictl %.0f ms (%d found), medians of %d\n",
                median(window), windowFound, median(core), coreFound, repetitions);
    TESSERA_Uninitialize();
    return windowFound == kExpected && coreFound == kExpected ? 0 : 1;
}
