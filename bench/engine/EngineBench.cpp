// The monitoring server's poll, measured against the link alone.
//  - PollFleet: a full check of 256 emulated LAN monitors by the engine (tick to the end of the run: the
//    worker, the logs, the merge), and in the same iteration 256 x the raw link cost of the same queries
//    (open, POWR????, HWST0000, HWCK0000, ERRT????, INPS????, SLDS????, PXCK????, close). Target: the
//    engine adds at most 20%. Both run alternately; the overhead is given from the minimum and the median of
//    the wall times and from the median of the process's CPU time, which a loaded machine disturbs least.
//  - PollFleetTenthSilent: the same poll with 26 monitors that accept the connection but never greet. It
//    must end within the raw link time of the 230 answering monitors plus one time-out, plus 20%
//    ("rounds_within_bound" all rounds), and each silent monitor's log must say so ("logged_failures" 26).
//    The monitors are worked several at once (Parallel, default), so the time-outs overlap.
//  - ServerMemory: lumiwatch --headless polling the 256 monitors; resident memory (target: under 30 MiB).
#include "BenchHost.h"
#include "CMyLog.h"
#include "Clock.h"
#include "Emulator.h"
#include "ServerEngine.h"
#include "corvalink.h"
#include "tessera.h"

#include <algorithm>
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

using lumivane::bench::BenchHost;

namespace {

using namespace lumivane;
using Clock = std::chrono::steady_clock;

constexpr int kMonitors = 256;
constexpr int kSilentEvery = 10; // 26 of 256
constexpr int kTimeoutMs = 250;

std::string makeFolder()
{
    char pattern[] = "/tmp/lumiwatch-bench-XXXXXX";
    return ::mkdtemp(pattern);
}

std::string chainName(int i)
{
    return "m" + std::to_string(i);
}

std::string addressOf(int i)
{
    const int host = i + 2; // 127.0.0.2 onwards
    return "127.0." + std::to_string(host / 256) + "." + std::to_string(host % 256);
}

// One fleet, one data folder with "Panels.csv" for the whole program.
struct Setup
{
    std::unique_ptr<sim::Emulator> fleet;
    std::string dataFolder;

    Setup()
    {
        dataFolder = makeFolder();
        ::setenv("LUMIVANE_DATA_DIR", dataFolder.c_str(), 1);
        ::setenv("LUMIVANE_RUNTIME_DIR", (dataFolder + "/.run").c_str(), 1);
        ::setenv("LUMIVANE_LINK_TIMEOUT_MS", std::to_string(kTimeoutMs).c_str(), 1);
        std::string text = "data-port 0\nsearch-port none\n";
        for (int i = 0; i < kMonitors; ++i)
            text += "lan " + chainName(i) + " " + addressOf(i) + "\nmonitor " + chainName(i) + " model=QX-T988\n";
        std::string error;
        fleet = sim::Emulator::startText(text, &error);
        if (!fleet) {
            std::fprintf(stderr, "emulator: %s\n", error.c_str());
            std::exit(1);
        }
        TESSERA_Initialize();
        TESSERA_ShowErrorMessage(0);
        writePanels(dataFolder);
        std::ofstream(dataFolder + "/QVXCtrl.ini") << "[Check]\nMonitoring=1\nInterval=60\n";
    }

    Setup(const Setup&) = delete;
    Setup& operator=(const Setup&) = delete;
    ~Setup()
    {
        fleet.reset();
        TESSERA_Uninitialize();
        std::filesystem::remove_all(dataFolder);
    }

    void writePanels(const std::string& folder) const
    {
        TESSERA_PANEL panels = TESSERA_OpenPanel(nullptr);
        for (int i = 0; i < kMonitors; ++i) {
            TESSERA_PANEL_DATA data{};
            data.nPanelNo = i + 1;
            std::snprintf(data.szName, sizeof data.szName, "[%03d] %s", i + 1, chainName(i).c_str());
            std::strcpy(data.szModel, "QX-T988");
            data.nInterface = 1;
            in_addr address{};
            ::inet_pton(AF_INET, addressOf(i).c_str(), &address);
            data.dwIPAddress = ntohl(address.s_addr);
            data.nDataPort = fleet->place(chainName(i))->dataPort;
            data.bUse = 1;
            data.bMonitoring = 1;
            data.nBaudRate = 9600;
            TESSERA_InsertPanelData(panels, i, &data);
        }
        TESSERA_SavePanel(panels, (folder + "/Panels.csv").c_str());
        TESSERA_ClosePanel(panels);
    }

    void setSilent(bool silent)
    {
        for (int i = 0; i < kMonitors; i += kSilentEvery)
            fleet->setSilentGreeting(chainName(i), silent);
    }
};

Setup& setup()
{
    static Setup instance;
    return instance;
}

// The engine's poll: a new engine (reading panels and settings, outside the measured time), one tick that
// polls every monitoring target, the end of the run. Returns seconds and the error count.
double cpuSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// CPU time of this process (link, engine and emulator threads) spent by the last measured pass.
double g_lastCpu = 0;

double enginePoll(int& errors)
{
    BenchHost host;
    CMyLog serverLog;
    serverLog.SetFile("PanelDeskServer.log");
    ServerEngine engine(host, serverLog, systemClock());
    engine.start();
    const double cpu = cpuSeconds();
    const auto start = Clock::now();
    engine.onTick();
    errors = host.wait();
    engine.onRunFinished(errors);
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    g_lastCpu = cpuSeconds() - cpu;
    return elapsed;
}

void rawQueries()
{
    for (int i = 0; i < kMonitors; ++i) {
        const std::string port = setup().fleet->portText(chainName(i));
        LINK_HANDLE link = LinkOpenLogin(port.c_str(), "", "", LINK_FLAGS(0, 0, 0, 4), nullptr);
        if (!link)
            continue;
        int32_t value = 0;
        int32_t second = 0;
        char text[4096];
        LinkGetNumber(link, "command:POWR????", &value, 0, 0, 0);
        LinkGetText(link, "command:HWST0000", text, 257);
        LinkGetText(link, "command:HWCK0000", text, sizeof text);
        LinkGetText(link, "command:ERRT????", text, sizeof text);
        LinkGetNumber(link, "command:INPS????", &value, 0, 0, 0);
        LinkGetNumber(link, "command:SLDS????", &value, 0, 0, 0);
        LinkGetPair(link, "command:PXCK????", &value, &second, 0, 0, 0);
        LinkClose(link);
    }
}

// The same queries over the link, nothing else; on a thread of their own while this one waits, as the
// engine's worker does, so that both meet the same scheduling.
double rawPoll()
{
    const double cpu = cpuSeconds();
    const auto start = Clock::now();
    std::thread(rawQueries).join();
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    g_lastCpu = cpuSeconds() - cpu;
    return elapsed;
}

size_t receivedBy(int monitor)
{
    return setup().fleet->receivedLines(chainName(monitor)).size();
}

double minimum(const std::vector<double>& values)
{
    return *std::min_element(values.begin(), values.end());
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Raw and engine passes alternate, so that both meet the same load of the machine; the minimum of each
// is the cost without interference, the median what a loaded machine sees.
void PollFleet(benchmark::State& state)
{
    setup().setSilent(false);
    int errors = 0;
    enginePoll(errors); // warm up: log files, lock files
    rawPoll();
    std::vector<double> engineTimes;
    std::vector<double> rawTimes;
    std::vector<double> engineCpu;
    std::vector<double> rawCpu;
    size_t engineLines = 0;
    size_t rawLines = 0;
    for (auto _ : state) {
        size_t before = receivedBy(1);
        rawTimes.push_back(rawPoll());
        rawCpu.push_back(g_lastCpu);
        rawLines = receivedBy(1) - before;
        before = receivedBy(1);
        engineTimes.push_back(enginePoll(errors));
        engineCpu.push_back(g_lastCpu);
        engineLines = receivedBy(1) - before;
        state.SetIterationTime(engineTimes.back());
    }
    state.counters["engine_min_ms"] = minimum(engineTimes) * 1000;
    state.counters["raw_min_ms"] = minimum(rawTimes) * 1000;
    state.counters["engine_median_ms"] = median(engineTimes) * 1000;
    state.counters["raw_median_ms"] = median(rawTimes) * 1000;
    state.counters["overhead_min_pct"] = (minimum(engineTimes) / minimum(rawTimes) - 1) * 100;
    state.counters["overhead_median_pct"] = (median(engineTimes) / median(rawTimes) - 1) * 100;
    state.counters["engine_cpu_median_ms"] = median(engineCpu) * 1000;
    state.counters["raw_cpu_median_ms"] = median(rawCpu) * 1000;
    state.counters["overhead_cpu_median_pct"] = (median(engineCpu) / median(rawCpu) - 1) * 100;
    state.counters["queries_engine"] = static_cast<double>(engineLines);
    state.counters["queries_raw"] = static_cast<double>(rawLines);
    state.counters["errors"] = errors;
}
BENCHMARK(PollFleet)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);

int countLoggedFailures()
{
    int count = 0;
    for (int i = 0; i < kMonitors; i += kSilentEvery) {
        char name[64];
        std::snprintf(name, sizeof name, "[%03d] %s", i + 1, chainName(i).c_str());
        std::ifstream log(setup().dataFolder + "/Log/" + CMyLog::monitorLogName(name));
        std::string line;
        std::string last;
        while (std::getline(log, line))
            last = line;
        if (last.find("ERROR: Lumivane or another module may be accessing " + addressOf(i) + ".") != std::string::npos)
            ++count;
    }
    return count;
}

// Normal and silent polls alternate; the bound takes the normal poll of the same round.
void PollFleetTenthSilent(benchmark::State& state)
{
    int errors = 0;
    setup().setSilent(false);
    enginePoll(errors);
    const int silent = (kMonitors + kSilentEvery - 1) / kSilentEvery;
    const double answering = double(kMonitors - silent) / kMonitors;
    int within = 0;
    double worstRatio = 0;
    std::vector<double> silentTimes;
    std::vector<double> rawTimes;
    for (auto _ : state) {
        setup().setSilent(false);
        const double raw = rawPoll() * answering;
        setup().setSilent(true);
        const double elapsed = enginePoll(errors);
        state.SetIterationTime(elapsed);
        const double bound = 1.2 * (raw + kTimeoutMs / 1000.0);
        within += elapsed <= bound ? 1 : 0;
        worstRatio = std::max(worstRatio, elapsed / bound);
        silentTimes.push_back(elapsed);
        rawTimes.push_back(raw);
    }
    setup().setSilent(false);
    state.counters["rounds_within_bound"] = within;
    state.counters["worst_time_to_bound"] = worstRatio;
    state.counters["poll_median_ms"] = median(silentTimes) * 1000;
    state.counters["raw_answering_median_ms"] = median(rawTimes) * 1000;
    state.counters["errors"] = errors;
    state.counters["logged_failures"] = countLoggedFailures();
}
BENCHMARK(PollFleetTenthSilent)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(4);

long statusKilobytes(pid_t pid, const char* key)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(key, 0) == 0)
            return std::strtol(line.c_str() + std::strlen(key), nullptr, 10);
    }
    return -1;
}

// lumiwatch --headless in a data folder of its own, polling the fleet every 200 ms tick.
void ServerMemory(benchmark::State& state)
{
    const std::string folder = makeFolder();
    setup().writePanels(folder);
    std::ofstream(folder + "/QVXCtrl.ini") << "[Check]\nMonitoring=1\nInterval=1\n";
    std::vector<std::string> variables = {"LUMIVANE_DATA_DIR=" + folder, "LUMIVANE_RUNTIME_DIR=" + folder + "/.run",
                                          "LUMIVANE_TICK_MS=200",
                                          "LUMIVANE_LINK_TIMEOUT_MS=" + std::to_string(kTimeoutMs)};
    for (char** entry = environ; *entry; ++entry) {
        if (std::strncmp(*entry, "LUMIVANE_", 9) != 0)
            variables.emplace_back(*entry);
    }
    std::vector<char*> envp;
    for (std::string& variable : variables)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    char program[] = LUMIWATCH_PROGRAM;
    char headless[] = "--headless";
    char* argv[] = {program, headless, nullptr};

    long rss = 0;
    long peak = 0;
    long threads = 0;
    for (auto _ : state) {
        pid_t pid = 0;
        if (::posix_spawn(&pid, program, nullptr, nullptr, argv, envp.data()) != 0) {
            state.SkipWithError("cannot start lumiwatch");
            return;
        }
        // Polls run every 6 ticks (1.2 s); watch several of them.
        const auto end = Clock::now() + std::chrono::seconds(6);
        while (Clock::now() < end) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            rss = std::max(rss, statusKilobytes(pid, "VmRSS:"));
            threads = std::max(threads, statusKilobytes(pid, "Threads:"));
        }
        peak = statusKilobytes(pid, "VmHWM:");
        ::kill(pid, SIGTERM);
        int status = 0;
        ::waitpid(pid, &status, 0);
        state.counters["exit_code"] = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    struct stat info
    {
    };
    const std::string lastLog = folder + "/Log/" + CMyLog::monitorLogName("[256] m255");
    state.counters["last_monitor_polled"] = ::stat(lastLog.c_str(), &info) == 0 ? 1 : 0;
    state.counters["rss_MiB"] = rss / 1024.0;
    state.counters["peak_rss_MiB"] = peak / 1024.0;
    state.counters["under_30MiB"] = peak < 30 * 1024 ? 1 : 0;
    state.counters["peak_threads"] = static_cast<double>(threads);
    std::filesystem::remove_all(folder);
}
BENCHMARK(ServerMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
