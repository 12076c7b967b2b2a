// The console and the server in two processes: the store's lock, contention on its files, and a writer
// that dies in the middle of a save.
#include "SharedFile.h"
#include "StoreFiles.h"
#include "TempFolder.h"
#include "TesseraTestSupport.h"

#include <chrono>
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using lumivane::test::readFile;
using lumivane::test::TempDataFolder;
using namespace std::chrono_literals;
using namespace lumivane::tessera;

namespace {

// A child process that runs `body` and ends with its result, never returning into the test runner.
template <typename Body> pid_t spawnChild(Body body)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        int code = 1;
        try {
            code = body();
        } catch (...) {
        }
        ::_exit(code);
    }
    return pid;
}

int waitChild(pid_t pid)
{
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// One byte through a pipe, so that the two processes can take turns.
struct Signal
{
    int fds[2];
    Signal() { EXPECT_EQ(0, ::pipe(fds)); }
    ~Signal()
    {
        ::close(fds[0]);
        ::close(fds[1]);
    }
    void raise() { EXPECT_EQ(1, ::write(fds[1], "x", 1)); }
    void wait()
    {
        char byte;
        EXPECT_EQ(1, ::read(fds[0], &byte, 1));
    }
};

std::vector<TESSERA_PANEL_DATA> makePanels(int count, const std::string& prefix)
{
    std::vector<TESSERA_PANEL_DATA> panels;
    for (int i = 1; i <= count; ++i)
        panels.push_back(makePanel(i, prefix + std::to_string(i)));
    return panels;
}

TEST_F(TesseraTest, LockHolderSavesWhileTheOtherProcessWaits)
{
    TempDataFolder folder;
    const std::string path = folder.file("Panels.csv");
    Signal locked;
    Signal release;
    const pid_t holder = spawnChild([&] {
        TESSERA_Initialize();
        TESSERA_Lock();
        TESSERA_Lock(); // recursive within the thread
        locked.raise();
        release.wait();
        TESSERA_PANEL panels = TESSERA_OpenPanel(nullptr);
        TESSERA_PANEL_DATA panel = makePanel(1, "[001] from holder");
        TESSERA_InsertPanelData(panels, -1, &panel);
        const int saved = TESSERA_SavePanel(panels, path.c_str());
        TESSERA_Unlock();
        TESSERA_Unlock();
        return saved == 1 ? 0 : 1;
    });
    locked.wait();

    std::atomic<bool> acquired{false};
    std::string seenUnderLock;
    std::thread waiter([&] {
        TESSERA_Lock();
        acquired = true;
        seenUnderLock = readFile(path);
        TESSERA_Unlock();
    });
    std::this_thread::sleep_for(200ms);
    EXPECT_FALSE(acquired) << "the lock was taken while another process held it";
    release.raise();
    waiter.join();
    EXPECT_TRUE(acquired);
    // By the time the lock is ours, the holder's save is complete.
    EXPECT_NE(std::string::npos, seenUnderLock.find("[001] from holder"));
    EXPECT_EQ(0, waitChild(holder));
}

TEST_F(TesseraTest, ALockThatCannotBeTakenFailsTheWritesUntilItsUnlock)
{
    TempDataFolder folder;
    const std::string path = folder.file("Panels.csv");
    // The lock file cannot be opened: a link stands in its place.
    ASSERT_EQ(0, ::mkdir(folder.file(".run").c_str(), 0770));
    ASSERT_EQ(0, ::symlink("/nonexistent", folder.file(".run/Global_Vaneboard TESSERA Lock.lock").c_str()));
    TESSERA_PANEL panels = TESSERA_OpenPanel(nullptr);
    TESSERA_PANEL_DATA panel = makePanel(1, "[001]");
    TESSERA_InsertPanelData(panels, -1, &panel);

    // In another process as well: neither of the two believes it holds the lock.
    const pid_t child = spawnChild([&] {
        TESSERA_ShowErrorMessage(0);
        TESSERA_Lock();
        const bool saved = TESSERA_SavePanel(panels, path.c_str()) == 1;
        TESSERA_Unlock();
        return saved ? 1 : 0;
    });
    EXPECT_EQ(0, waitChild(child));

    TESSERA_Lock();
    TESSERA_Lock();
    EXPECT_EQ(0, TESSERA_SavePanel(panels, path.c_str()));
    const std::string error = TESSERA_GetLastErrorMessage();
    EXPECT_EQ(0u, error.find("Cannot lock the panel store: ")) << error;
    EXPECT_EQ(0, TESSERA_DeletePanel(path.c_str()));
    TESSERA_Unlock();
    EXPECT_EQ(0, TESSERA_SavePanel(panels, path.c_str())); // still inside the failed lock
    TESSERA_Unlock();
    EXPECT_FALSE(lumivane::test::fileExists(path));
    EXPECT_EQ(0, TESSERA_LockWithin(100));
    TESSERA_Unlock();
    TESSERA_ClosePanel(panels);
}

TEST_F(TesseraTest, KilledLockHolderDoesNotBlockTheNextLock)
{
    TempDataFolder folder;
    Signal locked;
    const pid_t holder = spawnChild([&] {
        TESSERA_Initialize();
        TESSERA_Lock();
        locked.raise();
        ::pause();
        return 0;
    });
    locked.wait();
    ::kill(holder, SIGKILL);
    waitChild(holder);
    const auto start = std::chrono::steady_clock::now();
    TESSERA_Lock();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    TESSERA_Unlock();
}

TEST_F(TesseraTest, SaveRetriesWhileTheFileIsHeldAndSucceedsOnRelease)
{
    TempDataFolder folder;
    const std::string path = folder.file("Panels.csv");
    Signal held;
    Signal release;
    const pid_t reader = spawnChild([&] {
        lumivane::SidecarLock lock;
        std::string error;
        if (!lock.acquire(path, lumivane::FileAccess::SharedRead, error))
            return 1;
        held.raise();
        release.wait();
        std::this_thread::sleep_for(1500ms); // the other side keeps retrying meanwhile
        return 0;
    });
    held.wait();
    release.raise();
    TESSERA_PANEL panels = TESSERA_OpenPanel(nullptr);
    TESSERA_PANEL_DATA panel = makePanel(1, "[001]");
    TESSERA_InsertPanelData(panels, -1, &panel);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TESSERA_OK(TESSERA_SavePanel(panels, path.c_str()));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 1s);
    TESSERA_ClosePanel(panels);
    EXPECT_EQ(0, waitChild(reader));
}

TEST_F(TesseraTest, FileHeldLongerThanTheRetriesFailsTheSave)
{
    TempDataFolder folder;
    const std::string path = folder.file("Groups.csv");
    Signal held;
    const pid_t writer = spawnChild([&] {
        lumivane::SidecarLock lock;
        std::string error;
        if (!lock.acquire(path, lumivane::FileAccess::ExclusiveWrite, error))
            return 1;
        held.raise();
        ::pause();
        return 0;
    });
    held.wait();
    TESSERA_GROUP groups = TESSERA_OpenGroup(nullptr);
    EXPECT_EQ(0, TESSERA_SaveGroup(groups, path.c_str()));
    EXPECT_EQ(lumivane::kSharingViolationText, std::string(TESSERA_GetLastErrorMessage()));
    TESSERA_CloseGroup(groups);
    ::kill(writer, SIGKILL);
    waitChild(writer);
}

TEST_F(TesseraTest, WriterKilledDuringSavesLeavesAWholeFile)
{
    TempDataFolder folder;
    const std::string path = folder.file("Panels.csv");
    const std::string oldContent = formatPanelFile(makePanels(500, "old "));
    const std::string newContent = formatPanelFile(makePanels(4000, "new "));
    lumivane::test::writeFile(path, oldContent);
    for (int round = 0; round < 5; ++round) {
        Signal started;
        const pid_t writer = spawnChild([&] {
            started.raise();
            for (;;)
                writeStoreFile(path, newContent, false);
            return 0;
        });
        started.wait();
        std::this_thread::sleep_for(std::chrono::milliseconds(3 + 7 * round));
        ::kill(writer, SIGKILL);
        waitChild(writer);
        const std::string now = readFile(path);
        EXPECT_TRUE(now == oldContent || now == newContent) << "round " << round << ": " << now.size() << " bytes";
        TESSERA_PANEL panels = TESSERA_OpenPanel(path.c_str());
        ASSERT_NE(nullptr, panels);
        const int count = TESSERA_GetPanelCount(panels);
        EXPECT_TRUE(count == 500 || count == 4000) << count;
        TESSERA_ClosePanel(panels);
    }
}

TEST_F(TesseraTest, SaveThatRunsOutOfSpaceKeepsThePreviousFile)
{
    TempDataFolder folder;
    const std::string path = folder.file("Panels.csv");
    const std::string oldContent = formatPanelFile(makePanels(3, "old "));
    lumivane::test::writeFile(path, oldContent);
    const pid_t writer = spawnChild([&] {
        // A file size limit makes every write past 4 KiB fail, as a full disk would.
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        TESSERA_Initialize();
        TESSERA_ShowErrorMessage(0);
        TESSERA_PANEL panels = TESSERA_OpenPanel(nullptr);
        for (const TESSERA_PANEL_DATA& panel : makePanels(200, "new "))
            TESSERA_InsertPanelData(panels, -1, &panel);
        const bool failed = TESSERA_SavePanel(panels, path.c_str()) == 0 && TESSERA_GetLastErrorMessage()[0] != 0;
        return failed ? 0 : 1;
    });
    EXPECT_EQ(0, waitChild(writer)) << "the save did not report the failure";
    EXPECT_EQ(oldContent, readFile(path));
}

} // namespace
