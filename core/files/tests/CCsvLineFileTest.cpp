#include "CCsvLineFile.h"
#include "SharedFile.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace lumivane;

namespace {

TEST(CCsvLineFile, ReadsLinesFieldsAndIntegers)
{
    test::TempFolder folder;
    const std::string path = folder.file("MailSchedule.csv");
    test::writeFile(path, "1,08,30,x7\r\n,\n\nlast,,end");
    CCsvLineFile file;
    ASSERT_TRUE(file.openRead(path)) << file.lastError();
    std::string field;
    ASSERT_TRUE(file.readLine());
    EXPECT_EQ(1, file.nextInt(-1));
    EXPECT_EQ(8, file.nextInt(-1));
    EXPECT_EQ(30, file.nextInt(-1));
    EXPECT_EQ(0, file.nextInt(-1));  // present but not a number
    EXPECT_EQ(-1, file.nextInt(-1)); // missing
    ASSERT_TRUE(file.readLine());    // ","
    EXPECT_TRUE(file.nextField(field));
    EXPECT_EQ("", field);
    EXPECT_FALSE(file.nextField(field));
    ASSERT_TRUE(file.readLine()); // ""
    EXPECT_FALSE(file.nextField(field));
    ASSERT_TRUE(file.readLine());
    EXPECT_TRUE(file.nextField(field));
    EXPECT_EQ("last", field);
    EXPECT_TRUE(file.nextField(field));
    EXPECT_EQ("", field);
    EXPECT_TRUE(file.nextField(field));
    EXPECT_EQ("end", field);
    EXPECT_FALSE(file.readLine());
    EXPECT_TRUE(file.close());
}

TEST(CCsvLineFile, WritesDropTrailingEmptyFields)
{
    test::TempFolder folder;
    const std::string path = folder.file("ScheduleList.scl");
    CCsvLineFile file;
    ASSERT_TRUE(file.openWrite(path));
    EXPECT_TRUE(file.writeLine(std::vector<std::string>{"1", "", "Morning", "", ""}));
    EXPECT_TRUE(file.writeLine(std::vector<std::string>{"", ""}));
    EXPECT_TRUE(file.close());
    EXPECT_EQ("1,,Morning\n\n", test::readFile(path));
    EXPECT_FALSE(file.openRead(folder.file("missing.csv")));
}

TEST(CCsvLineFile, OnlyCloseReplacesTheFile)
{
    test::TempFolder folder;
    const std::string path = folder.file("EMailAddress.csv");
    test::writeFile(path, "old\n");
    {
        CCsvLineFile file;
        ASSERT_TRUE(file.openWrite(path));
        file.writeLine(std::string_view("half"));
    } // left without close(): the write was not finished
    EXPECT_EQ("old\n", test::readFile(path));
    CCsvLineFile file;
    ASSERT_TRUE(file.openWrite(path));
    file.writeLine(std::string_view("new"));
    ASSERT_TRUE(file.openRead(path)); // a new open does not finish the write either
    EXPECT_TRUE(file.readLine());
    EXPECT_EQ("old", file.currentLine());
}

TEST(CCsvLineFile, OpenWaitsForAnotherProcessToLetGo)
{
    test::TempFolder folder;
    const std::string path = folder.file("EMailAddress.csv");
    test::writeFile(path, "a@example.com\n");
    int ready[2];
    ASSERT_EQ(0, ::pipe(ready));
    const pid_t holder = ::fork();
    if (holder == 0) {
        CCsvLineFile held;
        held.openRead(path);
        (void)!::write(ready[1], "x", 1);
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
        ::_exit(0);
    }
    char byte;
    ASSERT_EQ(1, ::read(ready[0], &byte, 1));
    const auto start = std::chrono::steady_clock::now();
    CCsvLineFile file;
    EXPECT_TRUE(file.openWrite(path)) << file.lastError();
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
    file.writeLine(std::string_view("b@example.com"));
    EXPECT_TRUE(file.close());
    ::waitpid(holder, nullptr, 0);
    EXPECT_EQ("b@example.com\n", test::readFile(path));
    ::close(ready[0]);
    ::close(ready[1]);
}

TEST(CCsvLineFile, FailedWriteKeepsThePreviousFile)
{
    test::TempFolder folder;
    const std::string path = folder.file("Schedule1.scf");
    test::writeFile(path, "old\n");
    const pid_t writer = ::fork();
    if (writer == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1024, 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        CCsvLineFile file;
        if (!file.openWrite(path))
            ::_exit(2);
        for (int i = 0; i < 1000; ++i)
            file.writeLine(std::string_view("0123456789012345678901234567890123456789"));
        ::_exit(file.close() ? 1 : 0); // close must report the failure
    }
    int status = 0;
    ::waitpid(writer, &status, 0);
    EXPECT_EQ(0, WEXITSTATUS(status));
    EXPECT_EQ("old\n", test::readFile(path));
}

} // namespace
