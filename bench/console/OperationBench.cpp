// Time from a click on "ON" in the operation window until the window is idle again with the button
// latched, for one monitor (Single Mode: power on, then the input read back and the CONTROL page read)
// and for 20 monitors (Multi Mode: power on each), against the link doing the power and input commands
// directly, in the same run on the same emulated monitors. Prints medians over the repetitions.
//   console_bench [repetitions]
#include "Emulator.h"
#include "ScriptedPrompter.h"
#include "StoreFiles.h"
#include "TempFolder.h"
#include "TestConsole.h"
#include "corvalink.h"
#include "operation/COperationDlg.h"
#include "tessera.h"
#include "tree/CPanelTreeCtrl.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace lumivane;
using namespace lumivane::test;

namespace {

constexpr int kFleetSize = 20;
using Clock = std::chrono::steady_clock;

std::string chainName(int monitor)
{
    return "m" + std::to_string(monitor);
}

std::unique_ptr<sim::Emulator> startFleet()
{
    std::string text = "data-port 0\nsearch-port none\n";
    for (int monitor = 1; monitor <= kFleetSize; ++monitor)
        text += "lan " + chainName(monitor) + " 127.0.0." + std::to_string(monitor + 1) + "\nmonitor d" +
                std::to_string(monitor) + " model=QX-T988 power=off\n";
    std::string error;
    auto fleet = sim::Emulator::startText(text, &error);
    if (!fleet)
        std::fprintf(stderr, "console_bench: %s\n", error.c_str());
    return fleet;
}

void registerFleet(const sim::Emulator& fleet)
{
    std::vector<TESSERA_PANEL_DATA> records;
    for (int monitor = 1; monitor <= kFleetSize; ++monitor) {
        const sim::ChainPlace place = *fleet.place(chainName(monitor));
        TESSERA_PANEL_DATA record = panelRecord(monitor, 0, "[" + std::to_string(monitor) + "] Screen", "QX-T988");
        record.nInterface = 1;
        record.dwIPAddress = 0x7F000001u + static_cast<uint32_t>(monitor);
        record.nDataPort = place.dataPort;
        records.push_back(record);
    }
    writePanels(records);
}

double medianMs(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

double timeMs(const std::function<void()>& work)
{
    const Clock::time_point start = Clock::now();
    work();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The commands of the window's run, sent through the link: open, each command, close, monitor by monitor.
bool linkRun(const sim::Emulator& fleet, int monitors, bool readBack)
{
    bool ok = true;
    for (int monitor = 1; monitor <= monitors; ++monitor) {
        LINK_HANDLE h = LinkOpen(fleet.portText(chainName(monitor)).c_str(), LINK_FLAGS(0, 0, 0, 4));
        int32_t value = 0;
        ok = ok && h != nullptr && LinkSet(h, "command", "POWR0001", 0, 0, 0) == LINK_OK;
        if (readBack)
            ok = ok && LinkGetNumber(h, "command:INPS????", &value, 0, 0, 0) == LINK_OK;
        LinkClose(h);
    }
    return ok;
}

struct Measured
{
    std::vector<double> window;
    std::vector<double> link;
};

void report(const char* what, const Measured& measured)
{
    std::printf("%-34s window %8.2f ms   link %8.2f ms   (medians of %zu)\n", what, medianMs(measured.window),
                medianMs(measured.link), measured.window.size());
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;

    TempDataFolder folder;
    TESSERA_Initialize();
    TESSERA_ShowErrorMessage(0);
    auto fleet = startFleet();
    if (!fleet)
        return 1;
    registerFleet(*fleet);

    ScriptedPrompter prompter;
    TestConsole console(prompter);
    COperationDlg window(console.context);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    auto* on = window.findChild<QPushButton*>("powerOnButton");
    auto* off = window.findChild<QPushButton*>("powerOffButton");
    CPanelTreeCtrl* tree = window.tree();

    Measured single;
    tree->setCurrentItem(tree->findItem(1, false));
    for (int i = 0; i < repetitions; ++i) {
        QTest::mouseClick(off, Qt::LeftButton);
        single.window.push_back(timeMs([&] { QTest::mouseClick(on, Qt::LeftButton); }));
        if (!on->isChecked()) {
            std::fprintf(stderr, "console_bench: \"ON\" did not latch for one monitor\n");
            return 1;
        }
        single.link.push_back(timeMs([&] { linkRun(*fleet, 1, true); }));
    }
    const size_t before = fleet->receivedLines(chainName(1)).size();
    QTest::mouseClick(on, Qt::LeftButton);
    std::printf("one \"ON\" in Single Mode sends %zu commands (the link run sends 2)\n",
                fleet->receivedLines(chainName(1)).size() - before);

    Measured multi;
    QTest::mouseClick(window.findChild<QPushButton*>("multiModeButton"), Qt::LeftButton);
    for (int monitor = 1; monitor <= kFleetSize; ++monitor) { // as the operator does: a click on each box
        QTreeWidgetItem* item = tree->findItem(monitor, false);
        tree->scrollToItem(item);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->checkBoxRect(item).center());
    }
    if (tree->selectedMonitors().size() != size_t(kFleetSize)) {
        std::fprintf(stderr, "console_bench: %zu monitors checked\n", tree->selectedMonitors().size());
        return 1;
    }
    for (int i = 0; i < repetitions; ++i) {
        QTest::mouseClick(off, Qt::LeftButton);
        multi.window.push_back(timeMs([&] { QTest::mouseClick(on, Qt::LeftButton); }));
        if (fleet->value("d" + std::to_string(kFleetSize), "POWR").value_or(0) != 1) {
            std::fprintf(stderr, "console_bench: the last monitor is not on\n");
            return 1;
        }
        multi.link.push_back(timeMs([&] { linkRun(*fleet, kFleetSize, false); }));
    }
    if (prompter.unexpected() != 0 || !prompter.errorBoxes().empty()) {
        std::fprintf(stderr, "console_bench: a run asked the operator something\n");
        return 1;
    }

    report("ON, one monitor (Single Mode)", single);
    report("ON, 20 monitors (Multi Mode)", multi);
    window.close();
    fleet.reset();
    TESSERA_Uninitialize();
    return 0;
}
