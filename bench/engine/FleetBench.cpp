// The server with a whole site of emulated LAN monitors, several monitors at once.
//  - PowerOnAtEight: 100 monitors on 127.0.1.1-127.0.1.100 that answer every command with an error for 8 s
//    after POWR0001, one schedule power-on due for all, default settings (ZRPowerWait 15). Goal: each
//    monitor gets POWR0001 within 2 s of the action's start ("last_powr0001_ms") and logs "Powered on
//    successfully." within 30 s ("last_powered_on_s", "within_goal" 1). The same with Parallel=1 over the
//    first 6 monitors for comparison (each waits 15 s in turn; "sequential_100_estimate_s" scales it up).
//  - LumictlPowerOn: `lumictl power on --all` over the same 100 monitors, --parallel 16 against --parallel 1
//    (wall times and their ratio); on loopback as it is, and with a reply delay of 20 ms per command as a
//    real monitor on a LAN takes.
//  - PollScale: 100 and 1,000 monitors polled by the engine in this process (time, threads of the process
//    while it runs), then by lumiwatch --headless (resident memory and threads of the server alone).
#include "BenchHost.h"
#include "CMyLog.h"
#include "CScheduleStore.h"
#include "Clock.h"
#include "Emulator.h"
#include "Lumictl.h"
#include "ServerEngine.h"
#include "tessera.h"

#include <algorithm>
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

using lumivane::bench::BenchHost;

namespace {

using namespace lumivane;
using Steady = std::chrono::steady_clock;

constexpr int kSiteMonitors = 100;
constexpr int kSequentialMonitors = 6;
constexpr int kScaleMonitors = 1000;

std::string makeFolder()
{
    char pattern[] = "/tmp/lumiwatch-fleet-XXXXXX";
    return ::mkdtemp(pattern);
}

std::string monitorName(const std::string& prefix, int index)
{
    char name[64];
    std::snprintf(name, sizeof name, "[%03d] %s-%d", index + 1, prefix.c_str(), index + 1);
    return name;
}

long statusValue(const std::string& statusFile, const char* key)
{
    std::ifstream status(statusFile);
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(key, 0) == 0)
            return std::strtol(line.c_str() + std::strlen(key), nullptr, 10);
    }
    return -1;
}

// The data folder of this process (a process works its data folder out once), removed at the end.
struct DataFolder
{
    std::string path = makeFolder();
    DataFolder()
    {
        ::setenv("LUMIVANE_DATA_DIR", path.c_str(), 1);
        ::setenv("LUMIVANE_RUNTIME_DIR", (path + "/.run").c_str(), 1);
    }
    ~DataFolder() { std::filesystem::remove_all(path); }
};

const std::string& dataFolderPath()
{
    static DataFolder folder;
    return folder.path;
}

// The emulated fleet `prefix-1` .. `prefix-count` on the addresses of `range`.
struct Site
{
    std::string prefix;
    int count = 0;
    std::string folder;
    std::unique_ptr<sim::Emulator> fleet;

    Site(std::string chainPrefix, int monitors, const std::string& range, const std::string& keys)
        : prefix(std::move(chainPrefix)), count(monitors), folder(dataFolderPath())
    {
        std::string error;
        fleet = sim::Emulator::startText(
            "data-port 0\nsearch-port none\nlan-range " + prefix + " " + range + " " + keys + "\n", &error);
        if (!fleet) {
            std::fprintf(stderr, "emulator: %s\n", error.c_str());
            std::exit(1);
        }
    }
    Site(const Site&) = delete;
    Site& operator=(const Site&) = delete;

    std::string chain(int index) const { return prefix + "-" + std::to_string(index + 1); }

    // "Panels.csv" with the first `monitors` monitors, all in use; with a schedule or as monitoring targets.
    void writePanels(const std::string& target, int monitors, int scheduleId, bool monitoring) const
    {
        TESSERA_PANEL panels = TESSERA_OpenPanel(nullptr);
        for (int i = 0; i < monitors; ++i) {
            TESSERA_PANEL_DATA data{};
            data.nPanelNo = i + 1;
            std::snprintf(data.szName, sizeof data.szName, "%s", monitorName(prefix, i).c_str());
            std::strcpy(data.szModel, "QX-T988");
            data.nInterface = 1;
            const auto place = fleet->place(chain(i));
            in_addr address{};
            ::inet_pton(AF_INET, place->address.c_str(), &address);
            data.dwIPAddress = ntohl(address.s_addr);
            data.nDataPort = place->dataPort;
            data.bUse = 1;
            data.bMonitoring = monitoring ? 1 : 0;
            data.bSchedule = scheduleId != 0 ? 1 : 0;
            data.nScheduleNo = scheduleId;
            data.nBaudRate = 9600;
            TESSERA_InsertPanelData(panels, i, &data);
        }
        TESSERA_SavePanel(panels, (target + "/Panels.csv").c_str());
        TESSERA_ClosePanel(panels);
    }
};

// One schedule with a power-on in the current minute (due at the next tick). Late in a minute it waits for
// the next one: an action 60 s old is left out when the engine builds the day.
int writeScheduleDueNow()
{
    const int second = static_cast<int>(localTimeOf(std::time(nullptr)).tm_sec);
    if (second >= 50 || second == 0)
        std::this_thread::sleep_for(std::chrono::seconds(second == 0 ? 1 : 61 - second));
    CScheduleStore store;
    store.LoadList();
    if (store.listCount() == 0)
        store.AddSchedule("Eight");
    const int id = store.SelectSchedule(0);
    while (store.everyCount() > 0)
        store.DeleteEvery(0);
    const std::tm local = localTimeOf(std::time(nullptr));
    ST_SCHEDULE_EVERY entry;
    entry.onValid = 1;
    entry.onHour = local.tm_hour;
    entry.onMinute = local.tm_min;
    entry.dayMask = 0x7F;
    store.AddEvery(entry);
    return id;
}

std::time_t logLineTime(const std::string& line)
{
    std::tm local{};
    if (::strptime(line.c_str(), "%Y/%m/%d %H:%M:%S", &local) == nullptr)
        return 0;
    local.tm_isdst = -1;
    return std::mktime(&local);
}

// Seconds from `start` to the monitor's last "Powered on successfully."; -1 without one.
long secondsToPoweredOn(const std::string& folder, const std::string& name, std::time_t start)
{
    std::ifstream log(folder + "/Log/" + CMyLog::monitorLogName(name));
    long seconds = -1;
    for (std::string line; std::getline(log, line);) {
        if (line.find("Powered on successfully.") != std::string::npos)
            seconds = static_cast<long>(logLineTime(line) - start);
    }
    return seconds;
}

struct PowerOnResult
{
    double lastPowr0001Ms = -1;
    long lastPoweredOnS = -1;
    int poweredOn = 0;
    int errors = -1;
    double runS = 0;
    long peakThreads = 0;
};

// One power-on of the first `monitors` monitors by an engine with `parallel` (0: the default).
PowerOnResult powerOnRound(Site& site, int monitors, int parallel)
{
    for (int i = 0; i < site.count; ++i)
        site.fleet->setPower(site.chain(i), false);
    std::ofstream(site.folder + "/QVXCtrl.ini")
        << (parallel > 0 ? "[Check]\nParallel=" + std::to_string(parallel) + "\n" : std::string());
    site.writePanels(site.folder, monitors, writeScheduleDueNow(), false);

    BenchHost host;
    CMyLog serverLog;
    serverLog.SetFile("PanelDeskServer.log");
    ServerEngine engine(host, serverLog, systemClock());
    engine.start();

    PowerOnResult result;
    std::vector<double> sentAt(static_cast<size_t>(monitors), -1);
    // Earlier rounds sent POWR0001 too: a monitor's first one of this round is the one after those.
    const auto powerOns = [&](int i) {
        const std::vector<std::string> done = site.fleet->commandsCarriedOut(site.chain(i));
        return std::count(done.begin(), done.end(), "POWR0001");
    };
    std::vector<long> before;
    for (int i = 0; i < monitors; ++i)
        before.push_back(powerOns(i));
    const std::time_t startWall = std::time(nullptr);
    const auto start = Steady::now();
    engine.onTick();
    if (!engine.isRunning()) {
        std::fprintf(stderr, "the power-on did not start\n");
        return result; // errors -1
    }
    const auto sinceStart = [&] { return std::chrono::duration<double>(Steady::now() - start).count(); };
    std::optional<int> errors;
    // The first POWR0001 of each monitor, looked for every 20 ms until all have one.
    while (!(errors = host.waitFor(std::chrono::milliseconds(20)))) {
        result.peakThreads = std::max(result.peakThreads, statusValue("/proc/self/status", "Threads:"));
        for (int i = 0; i < monitors; ++i) {
            if (sentAt[static_cast<size_t>(i)] >= 0)
                continue;
            if (powerOns(i) > before[static_cast<size_t>(i)])
                sentAt[static_cast<size_t>(i)] = sinceStart();
        }
    }
    result.runS = sinceStart();
    engine.onRunFinished(*errors);
    result.errors = *errors;
    result.lastPowr0001Ms = *std::max_element(sentAt.begin(), sentAt.end()) * 1000;
    for (int i = 0; i < monitors; ++i) {
        const long seconds = secondsToPoweredOn(site.folder, monitorName(site.prefix, i), startWall);
        result.poweredOn += seconds >= 0 ? 1 : 0;
        result.lastPoweredOnS = std::max(result.lastPoweredOnS, seconds);
    }
    return result;
}

void PowerOnAtEight(benchmark::State& state)
{
    TESSERA_Initialize();
    TESSERA_ShowErrorMessage(0);
    Site site("wall", kSiteMonitors, "127.0.1.1-127.0.1.100", "model=QX-T988 power=off powerup=8000");
    PowerOnResult concurrent;
    PowerOnResult sequential;
    for (auto _ : state) {
        concurrent = powerOnRound(site, kSiteMonitors, 0);
        state.SetIterationTime(concurrent.runS);
        sequential = powerOnRound(site, kSequentialMonitors, 1);
    }
    TESSERA_Uninitialize();
    state.counters["last_powr0001_ms"] = concurrent.lastPowr0001Ms;
    state.counters["last_powered_on_s"] = static_cast<double>(concurrent.lastPoweredOnS);
    state.counters["powered_on"] = concurrent.poweredOn;
    state.counters["errors"] = concurrent.errors;
    state.counters["run_s"] = concurrent.runS;
    state.counters["peak_threads"] = static_cast<double>(concurrent.peakThreads);
    state.counters["within_goal"] =
        concurrent.poweredOn == kSiteMonitors && concurrent.lastPowr0001Ms <= 2000 && concurrent.lastPoweredOnS <= 30
            ? 1
            : 0;
    state.counters["seq6_run_s"] = sequential.runS;
    state.counters["seq6_last_powr0001_ms"] = sequential.lastPowr0001Ms;
    state.counters["seq6_powered_on"] = sequential.poweredOn;
    state.counters["sequential_100_estimate_s"] = sequential.runS * kSiteMonitors / kSequentialMonitors;
}
BENCHMARK(PowerOnAtEight)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

double lumictlPowerOn(Site& site, int parallel, int& status)
{
    for (int i = 0; i < site.count; ++i)
        site.fleet->setPower(site.chain(i), false);
    std::ostringstream out;
    std::ostringstream err;
    const auto start = Steady::now();
    status = ctl::runLumictl({"power", "on", "--all", "--parallel", std::to_string(parallel)}, out, err);
    if (status != 0 && std::getenv("FLEET_BENCH_VERBOSE"))
        std::fprintf(stderr, "%s", err.str().c_str());
    return std::chrono::duration<double>(Steady::now() - start).count();
}

void LumictlPowerOn(benchmark::State& state)
{
    TESSERA_Initialize();
    TESSERA_ShowErrorMessage(0);
    Site site("wall", kSiteMonitors, "127.0.1.1-127.0.1.100",
              "model=QX-T988 power=off powerup=8000 delay=" + std::to_string(state.range(0)));
    site.writePanels(site.folder, kSiteMonitors, 0, false);
    std::vector<double> concurrent;
    std::vector<double> sequential;
    int status = 0;
    int failed = 0;
    for (auto _ : state) {
        concurrent.push_back(lumictlPowerOn(site, 16, status));
        failed += status != 0 ? 1 : 0;
        sequential.push_back(lumictlPowerOn(site, 1, status));
        failed += status != 0 ? 1 : 0;
        state.SetIterationTime(concurrent.back());
    }
    TESSERA_Uninitialize();
    std::sort(concurrent.begin(), concurrent.end());
    std::sort(sequential.begin(), sequential.end());
    const double parallelMedian = concurrent[concurrent.size() / 2];
    const double sequentialMedian = sequential[sequential.size() / 2];
    state.counters["parallel16_median_ms"] = parallelMedian * 1000;
    state.counters["parallel1_median_ms"] = sequentialMedian * 1000;
    state.counters["speedup"] = sequentialMedian / parallelMedian;
    state.counters["failed_runs"] = failed;
}
BENCHMARK(LumictlPowerOn)->Arg(0)->Arg(20)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// lumiwatch --headless polling `monitors` monitors every 1.2 s for 8 s: peak resident memory and threads.
void serverFigures(Site& site, int monitors, benchmark::State& state)
{
    const std::string folder = makeFolder();
    site.writePanels(folder, monitors, 0, true);
    std::ofstream(folder + "/QVXCtrl.ini") << "[Check]\nMonitoring=1\nInterval=1\n";
    std::vector<std::string> variables = {"LUMIVANE_DATA_DIR=" + folder, "LUMIVANE_RUNTIME_DIR=" + folder + "/.run",
                                          "LUMIVANE_TICK_MS=200"};
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
    pid_t pid = 0;
    if (::posix_spawn(&pid, program, nullptr, nullptr, argv, envp.data()) != 0) {
        state.SkipWithError("cannot start lumiwatch");
        return;
    }
    const std::string status = "/proc/" + std::to_string(pid) + "/status";
    long threads = 0;
    const auto end = Steady::now() + std::chrono::seconds(8);
    while (Steady::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        threads = std::max(threads, statusValue(status, "Threads:"));
    }
    const long peak = statusValue(status, "VmHWM:");
    ::kill(pid, SIGTERM);
    int exitStatus = 0;
    ::waitpid(pid, &exitStatus, 0);
    std::filesystem::remove_all(folder);
    state.counters["server_peak_rss_MiB"] = peak / 1024.0;
    state.counters["server_peak_threads"] = static_cast<double>(threads);
}

void PollScale(benchmark::State& state)
{
    const int monitors = static_cast<int>(state.range(0));
    TESSERA_Initialize();
    TESSERA_ShowErrorMessage(0);
    Site site("site", kScaleMonitors, "127.1.0.1-127.1.3.232", "model=QX-T988");
    site.writePanels(site.folder, monitors, 0, true);
    std::ofstream(site.folder + "/QVXCtrl.ini") << "[Check]\nMonitoring=1\n";
    long threads = 0;
    int errors = 0;
    for (auto _ : state) {
        BenchHost host;
        CMyLog serverLog;
        serverLog.SetFile("PanelDeskServer.log");
        ServerEngine engine(host, serverLog, systemClock());
        engine.start();
        const auto start = Steady::now();
        engine.onTick();
        std::optional<int> ended;
        while (!(ended = host.waitFor(std::chrono::milliseconds(20))))
            threads = std::max(threads, statusValue("/proc/self/status", "Threads:"));
        state.SetIterationTime(std::chrono::duration<double>(Steady::now() - start).count());
        engine.onRunFinished(*ended);
        errors = *ended;
    }
    state.counters["errors"] = errors;
    state.counters["bench_peak_threads"] = static_cast<double>(threads);
    serverFigures(site, monitors, state);
    TESSERA_Uninitialize();
}
BENCHMARK(PollScale)->Arg(100)->Arg(1000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
