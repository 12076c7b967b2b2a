// The platform layer: where the shared files live, machine-wide mutexes, shared-file locks and writes.
#include "DataFolder.h"
#include "NamedMutex.h"
#include "SharedFile.h"
#include "TempFolder.h"
#include "TextNumbers.h"
#include "Utf8.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <thread>
#include <unistd.h>

using namespace lumivane;
using namespace std::chrono_literals;
using test::ScopedEnvironment;
using test::TempFolder;

namespace {

mode_t modeOf(const std::string& path)
{
    struct stat info
    {
    };
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

TEST(DataFolder, EnvironmentChoosesTheFolderAndCreatesIt)
{
    TempFolder temp;
    const std::string wanted = temp.path() + "/a/b/Lumivane";
    ScopedEnvironment data("LUMIVANE_DATA_DIR", wanted + "/");
    EXPECT_EQ(wanted, dataFolder(false));
    EXPECT_FALSE(test::fileExists(wanted));
    EXPECT_EQ(wanted, dataFolder(true));
    EXPECT_TRUE(test::fileExists(wanted));
    EXPECT_EQ(wanted + "/Panels.csv", dataFilePath("Panels.csv"));

    char small[100];
    EXPECT_FALSE(dataFolder(small, sizeof small, false));
    char buffer[kMaxPath];
    ASSERT_TRUE(dataFolder(buffer, sizeof buffer, false));
    EXPECT_EQ(wanted, buffer);
}

TEST(DataFolder, AProgramKeepsTheFolderItWorkedOut)
{
    TempFolder first, second;
    ScopedEnvironment data("LUMIVANE_DATA_DIR", first.path());
    EXPECT_EQ(first.path(), dataFolder(false));
    ::setenv("LUMIVANE_DATA_DIR", second.path().c_str(), 1); // another folder appears meanwhile
    EXPECT_EQ(first.path(), dataFolder(true));
    EXPECT_EQ(first.path() + "/Panels.csv", dataFilePath("Panels.csv"));
    forgetDataFolder();
    EXPECT_EQ(second.path(), dataFolder(false));
}

TEST(DataFolder, PathsThatDoNotFitAreUnknown)
{
    ScopedEnvironment data("LUMIVANE_DATA_DIR", "/tmp/" + std::string(kMaxPath, 'x'));
    EXPECT_EQ("", dataFolder(false));
    char buffer[kMaxPath];
    EXPECT_FALSE(dataFolder(buffer, sizeof buffer, false));
    ScopedEnvironment shorter("LUMIVANE_DATA_DIR", "/tmp/" + std::string(kMaxPath - 20, 'x'));
    EXPECT_NE("", dataFolder(false));
    EXPECT_EQ("", dataFilePath("EMailAddress.csv"));
}

TEST(DataFolder, PersonalFolderIsPrivateToItsUser)
{
    TempFolder home;
    ScopedEnvironment noData("LUMIVANE_DATA_DIR", "");
    ScopedEnvironment xdg("XDG_DATA_HOME", home.path() + "/share");
    DataFolderPlaces places;
    places.machineFolder = home.path() + "/machine/Lumivane"; // missing, and not ours to create
    const std::string folder = dataFolder(true, places);
    EXPECT_EQ(home.path() + "/share/Kairo/Lumivane", folder);
    EXPECT_EQ(0700u, modeOf(folder));
    EXPECT_FALSE(test::fileExists(places.machineFolder));
}

TEST(DataFolder, MachineFolderIsSharedWithTheOperatorsGroup)
{
    TempFolder root;
    ScopedEnvironment noData("LUMIVANE_DATA_DIR", "");
    DataFolderPlaces places;
    places.machineFolder = root.path() + "/Kairo/Lumivane";
    places.mayCreateMachineFolder = true;
    EXPECT_EQ(places.machineFolder, dataFolder(false, places));
    EXPECT_FALSE(test::fileExists(places.machineFolder)); // only asked, not created
    EXPECT_EQ(places.machineFolder, dataFolder(true, places));
    EXPECT_EQ(02770u, modeOf(places.machineFolder));
    char acl[64];
    const ssize_t size = ::getxattr(places.machineFolder.c_str(), "system.posix_acl_default", acl, sizeof acl);
    if (size < 0 && errno == EOPNOTSUPP)
        GTEST_SKIP() << "no ACLs on this file system";
    ASSERT_EQ(28, size);              // header and three entries: user, group and others
    EXPECT_EQ(0, acl[4 + 2 * 8 + 2]); // others get nothing
    // A file created there by a program with a strict umask is still writable by the group.
    const mode_t old = ::umask(077);
    test::writeFile(places.machineFolder + "/QVXCtrl.ini", "");
    ::umask(old);
    EXPECT_EQ(0660u, modeOf(places.machineFolder + "/QVXCtrl.ini") & 0660u);
    // Once it exists it is used by everybody, whether they may create it or not.
    places.mayCreateMachineFolder = false;
    EXPECT_EQ(places.machineFolder, dataFolder(false, places));
}

TEST(DataFolder, RuntimeFolderFollowsTheDataFolder)
{
    TempFolder temp;
    ScopedEnvironment data("LUMIVANE_DATA_DIR", temp.path());
    ScopedEnvironment noRuntime("LUMIVANE_RUNTIME_DIR", "");
    ::unsetenv("LUMIVANE_RUNTIME_DIR");
    ::chmod(temp.path().c_str(), 02770);
    EXPECT_EQ(temp.path() + "/.run", runtimeFolder(true));
    EXPECT_EQ(02770u, modeOf(temp.path() + "/.run"));
}

TEST(DataFolder, GlobalNamesMustFitTheBuffer)
{
    char buffer[24];
    EXPECT_TRUE(makeGlobalName("VaneController", buffer, sizeof buffer));
    EXPECT_STREQ("Global\\VaneController", buffer);
    EXPECT_TRUE(makeGlobalName("0123456789abcde", buffer, sizeof buffer));   // 7 + 15 + NUL, one byte spare
    EXPECT_FALSE(makeGlobalName("0123456789abcdef", buffer, sizeof buffer)); // would fill the buffer exactly
    EXPECT_STREQ("Global\\0123456789abcde", buffer);                         // a failed call leaves the buffer alone
}

TEST(Utf8, CutsNeverSplitACharacter)
{
    const std::string text = "a\xc3\xa4\xe2\x82\xac"; // a, a-umlaut (2 bytes), euro sign (3 bytes)
    EXPECT_EQ("a", cutUtf8(text, 2));
    EXPECT_EQ("a\xc3\xa4", cutUtf8(text, 3));
    EXPECT_EQ("a\xc3\xa4", cutUtf8(text, 5));
    EXPECT_EQ(text, cutUtf8(text, 6));
    EXPECT_EQ("", cutUtf8("\xe2\x82\xac", 2));
    char field[4];
    copyToField(field, sizeof field, text);
    EXPECT_STREQ("a\xc3\xa4", field);
}

TEST(TextNumbers, ReadLikeAtoi)
{
    EXPECT_EQ(0, parseAtoi(""));
    EXPECT_EQ(0, parseAtoi("abc"));
    EXPECT_EQ(-12, parseAtoi(" \t-12x4"));
    EXPECT_EQ(7, parseAtoi("+7"));
    EXPECT_EQ(0, parseAtoi("- 7"));
    EXPECT_EQ(-1062693374, parseAtoi("-1062693374"));
    EXPECT_EQ(-1, parseAtoi("4294967295"));
    EXPECT_EQ(-1, parseAtoi("99999999999999999999999")); // saturated, then cut to 32 bits
}

TEST(NamedMutex, RecursiveInOneThreadExclusiveBetweenThreads)
{
    test::TempDataFolder folder;
    NamedMutex mutex(makeGlobalName("Test Mutex"));
    ASSERT_TRUE(mutex.lock());
    ASSERT_TRUE(mutex.lock());
    std::atomic<bool> otherGotIt{true};
    std::thread other([&] { otherGotIt = mutex.lock(50ms); });
    other.join();
    EXPECT_FALSE(otherGotIt);
    mutex.unlock();
    std::thread stillHeld([&] { otherGotIt = mutex.tryLock(); });
    stillHeld.join();
    EXPECT_FALSE(otherGotIt);
    mutex.unlock();
    std::thread free([&] {
        otherGotIt = mutex.tryLock();
        mutex.unlock();
    });
    free.join();
    EXPECT_TRUE(otherGotIt);
    EXPECT_TRUE(test::fileExists(folder.path() + "/.run/Global_Test Mutex.lock"));
}

TEST(NamedMutex, ExcludesAnotherProcessAndSurvivesItsDeath)
{
    test::TempDataFolder folder;
    int ready[2];
    ASSERT_EQ(0, ::pipe(ready));
    const pid_t child = ::fork();
    if (child == 0) {
        NamedMutex mutex(makeGlobalName("VaneCheckServer"));
        mutex.lock();
        (void)!::write(ready[1], "x", 1);
        ::pause();
        ::_exit(0);
    }
    char byte;
    ASSERT_EQ(1, ::read(ready[0], &byte, 1));
    NamedMutex mine(makeGlobalName("VaneCheckServer"));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(mine.lock(300ms));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 300ms);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_TRUE(mine.lock(2s));
    mine.unlock();
    ::close(ready[0]);
    ::close(ready[1]);
}

TEST(SharedFile, AtomicWriterReplacesWholeOrNotAtAll)
{
    TempFolder temp;
    const std::string path = temp.file("list.csv");
    test::writeFile(path, "old\n");
    ::chmod(path.c_str(), 0640);
    {
        AtomicFileWriter writer;
        std::string error;
        ASSERT_TRUE(writer.open(path, error));
        writer.write("half");
        // Destroyed without commit: the old file stays, no temporary is left.
    }
    EXPECT_EQ("old\n", test::readFile(path));
    std::string error;
    const mode_t oldMask = ::umask(077);
    EXPECT_TRUE(writeSharedFile(temp.file("fresh.csv"), "x", error)) << error;
    ::umask(oldMask);
    EXPECT_EQ(0660u, modeOf(temp.file("fresh.csv"))); // a new file is the group's whatever the umask
    ::unlink(temp.file("fresh.csv").c_str());
    ::unlink(temp.file(".fresh.csv.lock").c_str());
    ASSERT_TRUE(writeSharedFile(path, "new\n", error));
    EXPECT_EQ("new\n", test::readFile(path));
    EXPECT_EQ(0640u, modeOf(path)); // a new version keeps the mode
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(temp.path()))
        ++entries;
    EXPECT_EQ(2, entries); // the file and its sidecar lock

    // A writer that died before its rename left a temporary; the next writer clears it away.
    test::writeFile(temp.file(".list.csv.Ab12Cd"), "half");
    test::writeFile(temp.file(".other.csv.Ab12Cd"), "someone else's");
    ASSERT_TRUE(writeSharedFile(path, "newer\n", error));
    EXPECT_FALSE(test::fileExists(temp.file(".list.csv.Ab12Cd")));
    EXPECT_TRUE(test::fileExists(temp.file(".other.csv.Ab12Cd")));
    EXPECT_TRUE(test::fileExists(temp.file(".list.csv.lock")));
}

TEST(SharedFile, SymbolicLinkIsReplacedNotFollowed)
{
    TempFolder temp;
    const std::string victim = temp.file("victim");
    test::writeFile(victim, "keep");
    const std::string path = temp.file("Panels.csv");
    ASSERT_EQ(0, ::symlink(victim.c_str(), path.c_str()));
    std::string error;
    ASSERT_TRUE(writeSharedFile(path, "data", error)) << error;
    EXPECT_EQ("keep", test::readFile(victim));
    EXPECT_EQ("data", test::readFile(path));
}

TEST(SharedFile, ReadersShareWritersExclude)
{
    TempFolder temp;
    const std::string path = temp.file("f");
    std::string error;
    SidecarLock reader1;
    ASSERT_TRUE(reader1.acquire(path, FileAccess::SharedRead, error));
    SidecarLock reader2;
    EXPECT_TRUE(reader2.acquire(path, FileAccess::SharedRead, error));
    std::string content;
    EXPECT_EQ(ReadResult::Missing, readSharedFile(path, FileAccess::SharedRead, content, error));
}

} // namespace
