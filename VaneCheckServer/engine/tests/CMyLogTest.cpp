// The server's log files: where they go, their lines, their names, trimming and concurrent writers.
#include "CMyLog.h"
#include "EngineTestSupport.h"
#include "NamedMutex.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <thread>

using namespace lumivane;
using namespace lumivane::test;

namespace {

class CMyLogTest : public ::testing::Test
{
protected:
    void SetUp() override { useUtc(); }

    std::string logPath(const std::string& name) const { return m_data.path() + "/Log/" + name; }

    TempDataFolder m_data;
    FakeClock m_clock{localTime(2024, 3, 4, 8, 5, 9)};
};

TEST_F(CMyLogTest, WritesErrorAndTraceLinesWithTheLocalTimeIntoTheLogFolder)
{
    CMyLog log(&m_clock);
    log.SetFile("PanelDeskServer.log");
    log.Trace("---- Start Server ----");
    m_clock.advance(std::chrono::seconds(61));
    log.Error("Cannot read the panel file");

    EXPECT_EQ(log.path(), logPath("PanelDeskServer.log"));
    EXPECT_EQ(log.mutexName(), "Global\\MyLog_PanelDeskServer.log");
    EXPECT_EQ(readFile(log.path()), "2024/03/04 08:05:09: Trace: ---- Start Server ----\n"
                                    "2024/03/04 08:06:10: ERROR: Cannot read the panel file\n");
}

TEST_F(CMyLogTest, WritesNothingWithoutABareFileName)
{
    CMyLog log(&m_clock);
    log.Trace("before any file");
    log.SetFile("sub/dir.log");
    log.SetFile("");
    log.SetFile("..");
    log.Error("still nowhere");
    EXPECT_TRUE(log.path().empty());
    EXPECT_FALSE(fileExists(m_data.path() + "/sub/dir.log"));
    EXPECT_FALSE(fileExists(m_data.path() + "/Log/sub"));
}

TEST_F(CMyLogTest, LogsOffWhenTheLogFolderCannotBeMade)
{
    writeFile(m_data.file("Log"), "a file where the folder should be");
    CMyLog log(&m_clock);
    log.SetFile("PanelDeskServer.log");
    log.Trace("lost");
    EXPECT_TRUE(log.path().empty());
}

TEST_F(CMyLogTest, LinksPlantedAsTheFolderOrTheFileAreNotFollowed)
{
    TempFolder outside;
    const std::string secret = outside.file("secret");
    writeFile(secret, "secret");
    ::chmod(secret.c_str(), 0600);
    ::chmod(outside.path().c_str(), 0700);
    ASSERT_EQ(0, ::symlink(outside.path().c_str(), m_data.file("Log").c_str()));
    CMyLog log(&m_clock);
    log.SetFile("PanelDeskServer.log");
    log.Trace("lost");
    EXPECT_TRUE(log.path().empty());
    EXPECT_FALSE(fileExists(outside.file("PanelDeskServer.log")));

    ::unlink(m_data.file("Log").c_str());
    log.SetFile("PanelDeskServer.log");
    ASSERT_EQ(0, ::symlink(secret.c_str(), logPath("PanelDeskServer.log").c_str()));
    ASSERT_EQ(0, ::mkfifo(logPath("Other.log").c_str(), 0660));
    log.Trace("not into the secret");
    CMyLog toPipe(&m_clock);
    toPipe.SetFile("Other.log");
    toPipe.Trace("not into a pipe nobody reads"); // returns instead of waiting for a reader
    EXPECT_EQ("secret", readFile(secret));
    struct stat info
    {
    };
    ::stat(secret.c_str(), &info);
    EXPECT_EQ(0600u, info.st_mode & 07777);
    ::stat(outside.path().c_str(), &info);
    EXPECT_EQ(0700u, info.st_mode & 07777);
}

TEST_F(CMyLogTest, MonitorLogNamesKeepSixtyFourBytesWithoutSplittingACharacter)
{
    const std::string seventy(70, 'm');
    EXPECT_EQ(CMyLog::monitorLogName(seventy), std::string(64, 'm') + ".log");
    EXPECT_EQ(CMyLog::monitorLogName("[001] Lobby"), "[001] Lobby.log");
    EXPECT_EQ(CMyLog::monitorLogName(std::string(64, 'x')), std::string(64, 'x') + ".log");

    // "é" is two bytes: at bytes 64 and 65 it is kept whole; "€" (three bytes) at 63..65 as well.
    const std::string twoByte = std::string(63, 'a') + "\xC3\xA9" + "tail";
    EXPECT_EQ(CMyLog::monitorLogName(twoByte), std::string(63, 'a') + "\xC3\xA9.log");
    const std::string threeByte = std::string(62, 'a') + "\xE2\x82\xAC" + "tail";
    EXPECT_EQ(CMyLog::monitorLogName(threeByte), std::string(62, 'a') + "\xE2\x82\xAC.log");
}

TEST_F(CMyLogTest, AFullFileIsCutToItsLastLinesBeforeTheNextLine)
{
    CMyLog log(&m_clock);
    log.SetFile("big.log");
    // Lines of 100 bytes numbered, then filler up to exactly the limit.
    std::string content;
    for (int n = 0; content.size() + 100 <= CMyLog::kMaxSize; ++n) {
        std::string line = "line " + std::to_string(n) + " ";
        line.append(99 - line.size(), '.');
        content += line + "\n";
    }
    content.append(CMyLog::kMaxSize - content.size() - 1, '#');
    content += "\n";
    ASSERT_EQ(content.size(), CMyLog::kMaxSize);
    writeFile(log.path(), content);

    log.Trace("after the cut");
    const std::string after = readFile(log.path());
    const std::string newLine = "2024/03/04 08:05:09: Trace: after the cut\n";
    ASSERT_GT(after.size(), newLine.size());
    EXPECT_LE(after.size(), CMyLog::kKeepSize + newLine.size());
    EXPECT_EQ(after.substr(after.size() - newLine.size()), newLine);
    // It starts with a whole line of the old file, and everything after it is kept.
    const std::string kept = after.substr(0, after.size() - newLine.size());
    EXPECT_EQ(content.substr(content.size() - kept.size()), kept);
    EXPECT_EQ(content[content.size() - kept.size() - 1], '\n');
    EXPECT_GT(kept.size(), CMyLog::kKeepSize - 100);
}

TEST_F(CMyLogTest, AFileBelowTheLimitIsNotCut)
{
    CMyLog log(&m_clock);
    log.SetFile("small.log");
    const std::string content(CMyLog::kMaxSize - 1, 'x');
    writeFile(log.path(), content);
    log.Trace("one more");
    EXPECT_EQ(readFile(log.path()).size(),
              content.size() + std::string("2024/03/04 08:05:09: Trace: one more\n").size());
}

TEST_F(CMyLogTest, TrimmingKeepsALineThatStartsExactlyAtTheCut)
{
    const std::string path = m_data.file("exact.log");
    writeFile(path, "aaaa\nbbbb\ncccc\n");
    ASSERT_TRUE(CMyLog::trimFile(path, 15, 10));
    EXPECT_EQ(readFile(path), "bbbb\ncccc\n");
    writeFile(path, "aaaa\nbbbb\ncccc\n");
    ASSERT_TRUE(CMyLog::trimFile(path, 15, 8));
    EXPECT_EQ(readFile(path), "cccc\n");
}

TEST_F(CMyLogTest, WritersInSeveralThreadsLoseNoLine)
{
    CMyLog log(&m_clock);
    log.SetFile("shared.log");
    constexpr int kLines = 150;
    std::vector<std::thread> writers;
    for (int t = 0; t < 3; ++t) {
        writers.emplace_back([&log, t] {
            for (int n = 0; n < kLines; ++n)
                log.Trace("writer " + std::to_string(t) + " line " + std::to_string(n));
        });
    }
    for (std::thread& writer : writers)
        writer.join();
    const std::vector<std::string> lines = readLines(log.path());
    ASSERT_EQ(lines.size(), 3u * kLines);
    for (const std::string& line : lines)
        EXPECT_EQ(line.rfind("2024/03/04 08:05:09: Trace: writer ", 0), 0u) << line;
}

TEST_F(CMyLogTest, AWriterWaitsWhileAnotherHoldsTheLogMutex)
{
    CMyLog log(&m_clock);
    log.SetFile("held.log");
    NamedMutex other(log.mutexName());
    std::atomic<bool> held{false};
    std::thread holder([&] {
        other.lock();
        held = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        writeFile(log.path(), "written by the holder\n");
        other.unlock();
    });
    while (!held)
        std::this_thread::yield();
    log.Trace("after the holder");
    holder.join();
    EXPECT_EQ(readFile(log.path()), "written by the holder\n2024/03/04 08:05:09: Trace: after the holder\n");
}

} // namespace
