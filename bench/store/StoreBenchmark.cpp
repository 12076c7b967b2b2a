// Opening and saving "Panels.csv" with 256 and 10,000 monitors, against a plain read of the same bytes.
#include "StoreFiles.h"
#include "TempFolder.h"
#include "tessera.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace lumivane::tessera;

std::vector<TESSERA_PANEL_DATA> makeFleet(int count)
{
    std::vector<TESSERA_PANEL_DATA> panels(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        TESSERA_PANEL_DATA& panel = panels[static_cast<size_t>(i)];
        panel.nPanelNo = i + 1;
        panel.nGroupNo = i % 40;
        std::snprintf(panel.szName, sizeof panel.szName, "[%03d] Hall %d, screen %d", i + 1, i / 16, i % 16);
        std::strcpy(panel.szModel, "QX-T988");
        std::snprintf(panel.szSerialNo, sizeof panel.szSerialNo, "7Q%08d", i);
        std::snprintf(panel.szMACAddress, sizeof panel.szMACAddress, "0010C9%06X", i);
        std::strcpy(panel.szUserName, "admin");
        std::strcpy(panel.szPassword, "s3cret");
        panel.nInterface = 1;
        panel.dwIPAddress = (192u << 24) | (168u << 16) | static_cast<uint32_t>(i);
        panel.nDataPort = 10008;
        panel.nComPort = 1;
        panel.nBaudRate = 9600;
        panel.bUse = panel.bMonitoring = 1;
        panel.nMdelValue = 1;
    }
    return panels;
}

struct Fixture {
    lumivane::test::TempFolder folder;
    std::string path = folder.file("Panels.csv");
    std::string content;

    explicit Fixture(int count) : content(formatPanelFile(makeFleet(count)))
    {
        lumivane::test::writeFile(path, content);
        TESSERA_Initialize();
        TESSERA_ShowErrorMessage(0);
    }
};

void BM_OpenPanels(benchmark::State& state)
{
    Fixture fixture(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        TESSERA_PANEL panels = TESSERA_OpenPanel(fixture.path.c_str());
        benchmark::DoNotOptimize(TESSERA_GetPanelCount(panels));
        TESSERA_ClosePanel(panels);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * fixture.content.size()));
}

void BM_PlainRead(benchmark::State& state)
{
    Fixture fixture(static_cast<int>(state.range(0)));
    std::string buffer(fixture.content.size() + 1, '\0');
    for (auto _ : state) {
        const int fd = ::open(fixture.path.c_str(), O_RDONLY);
        benchmark::DoNotOptimize(::read(fd, buffer.data(), buffer.size()));
        ::close(fd);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * fixture.content.size()));
}

void BM_SavePanelsWithoutSync(benchmark::State& state)
{
    Fixture fixture(static_cast<int>(state.range(0)));
    const auto fleet = makeFleet(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(writeStoreFile(fixture.path, formatPanelFile(fleet), false).kind);
}

void BM_SavePanels(benchmark::State& state)
{
    Fixture fixture(static_cast<int>(state.range(0)));
    TESSERA_PANEL panels = TESSERA_OpenPanel(fixture.path.c_str());
    for (auto _ : state)
        benchmark::DoNotOptimize(TESSERA_SavePanel(panels, nullptr));
    TESSERA_ClosePanel(panels);
}

BENCHMARK(BM_OpenPanels)->Arg(256)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainRead)->Arg(256)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SavePanelsWithoutSync)->Arg(256)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SavePanels)->Arg(256)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
