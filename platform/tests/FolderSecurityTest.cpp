// Who may get into the data folder, and that nothing in it leads a program elsewhere.
#include "DataFolder.h"
#include "NamedMutex.h"
#include "SecondAccount.h"
#include "SharedFile.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <iostream>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace lumivane;
using namespace std::chrono_literals;
using test::ScopedEnvironment;
using test::SecondAccount;
using test::TempFolder;

namespace {

mode_t modeOf(const std::string& path)
{
    struct stat info
    {
    };
    ::lstat(path.c_str(), &info);
    return info.st_mode & 07777;
}

TEST(FolderSecurity, OperatorsShareTheFilesAndNobodyElseGetsIn)
{
    const SecondAccount first(SecondAccount::Member), second(SecondAccount::SecondMember),
        outsider(SecondAccount::Outsider);
    for (const SecondAccount* account : {&first, &second, &outsider})
        if (!account->available())
            GTEST_SKIP() << account->skipReason();
    TempFolder root;
    ::chmod(root.path().c_str(), 0755);
    ScopedEnvironment noData("LUMIVANE_DATA_DIR", "");
    ScopedEnvironment noRuntime("LUMIVANE_RUNTIME_DIR", "");
    DataFolderPlaces places;
    places.machineFolder = root.path() + "/Kairo/Lumivane";
    places.mayCreateMachineFolder = true;
    const std::string folder = dataFolder(true, places);
    ASSERT_EQ(places.machineFolder, folder);
    ScopedEnvironment data("LUMIVANE_DATA_DIR", folder);
    const std::string panels = folder + "/Panels.csv";
    const std::string passwords = folder + "/QVCtrlPwf";

    // One operator creates the files and a lock; they come out 0660 whatever the umask.
    EXPECT_EQ(0, first.run([&] {
        ::umask(022);
        std::string error;
        if (!writeSharedFile(panels, "1\r\n", error) || !writeSharedFile(passwords, "x\n", error))
            return 1;
        NamedMutex mutex(makeGlobalName("Shared Test Lock"));
        return mutex.lock(1s) ? 0 : 2;
    }));
    EXPECT_EQ(0660u, modeOf(panels));
    EXPECT_EQ(0660u, modeOf(passwords));

    // Another operator reads and replaces them and takes the same lock.
    EXPECT_EQ(0, second.run([&] {
        std::string content, error;
        if (readSharedFile(panels, FileAccess::SharedRead, content, error) != ReadResult::Ok || content != "1\r\n")
            return 1;
        if (!writeSharedFile(panels, "2\r\n", error))
            return 2;
        NamedMutex mutex(makeGlobalName("Shared Test Lock"));
        return mutex.lock(1s) ? 0 : 3;
    }));
    EXPECT_EQ("2\r\n", test::readFile(panels));

    // Somebody outside the group reads nothing and plants nothing.
    EXPECT_EQ(0, outsider.run([&] {
        std::string content, error;
        if (readSharedFile(panels, FileAccess::SharedRead, content, error) == ReadResult::Ok)
            return 1;
        if (::open(passwords.c_str(), O_RDONLY) >= 0 || ::open((folder + "/.run").c_str(), O_RDONLY) >= 0)
            return 2;
        return writeSharedFile(folder + "/Groups.csv", "0\r\n", error) ? 3 : 0;
    }));
}

class PlantedLinks : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(0, ::mkdir(m_data.c_str(), 0700));
        ::chmod(m_data.c_str(), 02770);
        ASSERT_EQ(0, ::mkdir(m_outside.c_str(), 0700));
        test::writeFile(m_secret, "secret");
        ::chmod(m_secret.c_str(), 0600);
    }

    void expectOutsideUntouched()
    {
        EXPECT_EQ(0700u, modeOf(m_outside));
        EXPECT_EQ(0600u, modeOf(m_secret));
        EXPECT_EQ("secret", test::readFile(m_secret));
        EXPECT_FALSE(test::fileExists(m_outside + "/Global_Planted.lock"));
    }

    TempFolder m_temp;
    const std::string m_data = m_temp.file("data");
    const std::string m_outside = m_temp.file("outside");
    const std::string m_secret = m_outside + "/secret";
    ScopedEnvironment m_dataDir{"LUMIVANE_DATA_DIR", m_data};
    ScopedEnvironment m_noRuntime{"LUMIVANE_RUNTIME_DIR", ""};
};

TEST_F(PlantedLinks, ALinkAsTheLockFolderIsRefused)
{
    for (const std::string& target : {m_outside, m_secret}) {
        ASSERT_EQ(0, ::symlink(target.c_str(), (m_data + "/.run").c_str()));
        EXPECT_EQ("", runtimeFolder(true));
        NamedMutex mutex(makeGlobalName("Planted"));
        EXPECT_FALSE(mutex.lock(100ms));
        EXPECT_FALSE(mutex.lastError().empty());
        expectOutsideUntouched();
        ::unlink((m_data + "/.run").c_str());
    }
}

TEST_F(PlantedLinks, LinksAsLockFilesAndSharedFilesAreNotFollowed)
{
    ASSERT_EQ(m_data + "/.run", runtimeFolder(true));
    EXPECT_EQ(02770u, modeOf(m_data + "/.run"));
    ASSERT_EQ(0, ::symlink(m_secret.c_str(), (m_data + "/.run/Global_Planted.lock").c_str()));
    NamedMutex mutex(makeGlobalName("Planted"));
    EXPECT_FALSE(mutex.lock(100ms));

    ASSERT_EQ(0, ::symlink(m_secret.c_str(), (m_data + "/.Groups.csv.lock").c_str()));
    std::string error;
    EXPECT_FALSE(writeSharedFile(m_data + "/Groups.csv", "0\r\n", error));

    ASSERT_EQ(0, ::symlink(m_secret.c_str(), (m_data + "/Panels.csv").c_str()));
    std::string content;
    EXPECT_EQ(ReadResult::Failed, readSharedFile(m_data + "/Panels.csv", FileAccess::SharedRead, content, error));
    EXPECT_EQ("", content);
    EXPECT_NE(std::string::npos, error.find("Panels.csv")) << error;

    // A link as a folder inside the data folder leads nowhere either.
    ASSERT_EQ(0, ::symlink(m_outside.c_str(), (m_data + "/Schedule").c_str()));
    EXPECT_FALSE(writeSharedFile(m_data + "/Schedule/Schedule.lst", "x", error));
    EXPECT_FALSE(test::fileExists(m_outside + "/Schedule.lst"));
    std::string subfolderError;
    EXPECT_FALSE(ensureSubfolder(m_data, "Schedule", subfolderError));
    expectOutsideUntouched();
}

TEST_F(PlantedLinks, PipesAndDevicesAreRefusedAtOnce)
{
    const std::string panels = m_data + "/Panels.csv";
    const auto refusedWithin = [&](const char* what) {
        std::string content, error;
        const auto start = std::chrono::steady_clock::now();
        const ReadResult result = readSharedFile(panels, FileAccess::SharedRead, content, error);
        const auto took =
            std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
        std::cout << what << " refused after " << took.count() << " us: " << error << "\n";
        EXPECT_EQ(ReadResult::Failed, result) << what;
        EXPECT_NE(std::string::npos, error.find("Panels.csv")) << what << ": " << error;
        EXPECT_LT(took, 1s) << what;
        ::unlink(panels.c_str());
    };
    ASSERT_EQ(0, ::mkfifo(panels.c_str(), 0660));
    refusedWithin("a pipe");
    ASSERT_EQ(0, ::symlink("/dev/zero", panels.c_str()));
    refusedWithin("a link to /dev/zero");
    if (::mknod(panels.c_str(), S_IFCHR | 0660, makedev(1, 5)) == 0) // /dev/zero itself, where root may
        refusedWithin("the device /dev/zero");
}

} // namespace
