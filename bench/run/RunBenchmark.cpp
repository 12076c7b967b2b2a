// "lumictl power on --all" over 100 emulated LAN monitors against 100 x (open + one set + close) of the
// raw link in the same run: what the run layer and lumictl add.
#include "Emulator.h"
#include "CommunicationRun.h"
#include "Lumictl.h"
#include "PanelRegistry.h"
#include "TempFolder.h"
#include "corvalink.h"
#include "tessera.h"

#include <benchmark/benchmark.h>

#include <sstream>

namespace {

using namespace lumivane;

constexpr int kMonitors = 100;

struct Fleet {
    test::TempDataFolder data;
    std::unique_ptr<sim::Emulator> emulator;
    std::vector<std::string> ports;

    Fleet()
    {
        std::string text = "data-port 0\nsearch-port none\n";
        for (int i = 0; i < kMonitors; ++i)
            text += "lan m" + std::to_string(i) + " 127.0.1." + std::to_string(i + 2) + "\nmonitor m" +
                    std::to_string(i) + " model=QX-T988\n";
        std::string error;
        emulator = sim::Emulator::startText(text, &error);
        if (!emulator)
            throw std::runtime_error(error);
        TESSERA_Initialize();
        TESSERA_ShowErrorMessage(0);
        PanelRegistry registry(data.path());
        for (int i = 0; i < kMonitors; ++i) {
            const auto place = emulator->place("m" + std::to_string(i));
            TESSERA_PANEL_DATA monitor = PanelRegistry::newMonitorDefaults();
            monitor.nInterface = 1;
            monitor.dwIPAddress = (127u << 24) | (1u << 8) | static_cast<uint32_t>(i + 2);
            monitor.nDataPort = place->dataPort;
            std::snprintf(monitor.szModel, sizeof monitor.szModel, "QX-T988");
            registry.addMonitor(monitor, 0);
            ports.push_back(place->portText);
        }
    }
};

Fleet& fleet()
{
    static Fleet instance;
    return instance;
}

void BM_RawOpenSetClose(benchmark::State& state)
{
    Fleet& f = fleet();
    for (auto _ : state) {
        for (const std::string& port : f.ports) {
            LINK_HANDLE link = LinkOpen(port.c_str(), 0);
            benchmark::DoNotOptimize(LinkSet(link, "command", "POWR0001", 0, 0, 0));
            LinkClose(link);
        }
    }
}

void BM_LumictlPowerOnAll(benchmark::State& state)
{
    fleet();
    for (auto _ : state) {
        std::ostringstream out;
        std::ostringstream err;
        if (ctl::runLumictl({"power", "on", "--all"}, out, err) != 0)
            state.SkipWithError(err.str().c_str());
    }
}

// The run layer alone, without lumictl's reading of settings and the store.
void BM_RunCommandList(benchmark::State& state)
{
    fleet();
    const std::vector<TESSERA_PANEL_DATA> monitors = PanelRegistry(fleet().data.path()).panels();
    std::vector<const TESSERA_PANEL_DATA*> pointers;
    for (const TESSERA_PANEL_DATA& monitor : monitors)
        pointers.push_back(&monitor);
    RunObserver observer;
    for (auto _ : state) {
        CommandItem item{};
        std::snprintf(item.text, sizeof item.text, "POWR0001");
        std::vector<CommandItem> items{item};
        benchmark::DoNotOptimize(runCommandList(items, pointers, observer));
    }
}

void BM_RawOpenLoginSetClose(benchmark::State& state)
{
    Fleet& f = fleet();
    volatile int32_t cancel = 0;
    for (auto _ : state) {
        for (const std::string& port : f.ports) {
            LINK_HANDLE link = LinkOpenLogin(port.c_str(), "", "", 0, &cancel);
            benchmark::DoNotOptimize(LinkSet(link, "command", "POWR0001", 0, 0, 0));
            LinkClose(link);
        }
    }
}

// What lumictl spends around a run: settings, the store, the targets.
void BM_LumictlListOnly(benchmark::State& state)
{
    fleet();
    for (auto _ : state) {
        std::ostringstream out;
        std::ostringstream err;
        benchmark::DoNotOptimize(ctl::runLumictl({"monitors", "list"}, out, err));
    }
}

BENCHMARK(BM_LumictlListOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RunCommandList)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_RawOpenLoginSetClose)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_RawOpenSetClose)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LumictlPowerOnAll)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
