// Window messages between the programs, the single-instance rule and starting programs without a shell.
#include "ProcessLauncher.h"
#include "SingleInstance.h"
#include "TempFolder.h"
#include "WindowMessage.h"
#include "WindowMessageListener.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

using namespace lumivane;
using namespace std::chrono_literals;

namespace {

std::vector<WindowMessage> pollFor(WindowMessageListener& listener, size_t wanted,
                                   std::chrono::milliseconds limit = 3000ms)
{
    std::vector<WindowMessage> received;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (received.size() < wanted && std::chrono::steady_clock::now() < deadline)
        listener.poll(50ms, [&](const WindowMessage& message) { received.push_back(message); });
    return received;
}

// A raw client connection, for senders that misbehave.
int connectTo(const std::string& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const timeval limit{5, 0}; // a listener that never cuts the connection fails the test, not hangs it
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    EXPECT_EQ(0, ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address));
    return fd;
}

// The listener closed its end: end of file, or a reset when it left data unread.
bool wasCutOff(int fd)
{
    char byte;
    const ssize_t got = ::recv(fd, &byte, 1, 0);
    return got == 0 || (got < 0 && errno == ECONNRESET);
}

void sendAll(int fd, std::string_view data)
{
    ASSERT_EQ(static_cast<ssize_t>(data.size()), ::send(fd, data.data(), data.size(), MSG_NOSIGNAL));
}

} // namespace

TEST(WindowMessageText, RoundTripsAndRefusesAnythingElse)
{
    const WindowMessage message{windowMessages::kShowStatus, 3, -7};
    EXPECT_EQ("1128 3 -7\n", formatWindowMessage(message));
    EXPECT_EQ(message, parseWindowMessage("1128 3 -7"));
    EXPECT_EQ((WindowMessage{1124, 0, 0}), parseWindowMessage("1124 0 0"));
    std::string extremes = formatWindowMessage({6, INT64_MAX, INT64_MIN});
    extremes.pop_back();
    EXPECT_EQ((WindowMessage{6, INT64_MAX, INT64_MIN}), parseWindowMessage(extremes));

    for (const char* bad : {"", "1124", "1124 0", "1124 0 0 0", "1124  0 0", " 1124 0 0", "1124 0 0 ", "a 0 0",
                            "-1 0 0", "+1124 0 0", "1124 0x1 0", "99999999999 0 0", "1124 0 99999999999999999999"})
        EXPECT_FALSE(parseWindowMessage(bad).has_value()) << '"' << bad << '"';
}

TEST(WindowMessageText, SocketPathLiesInTheRuntimeFolderAndFitsASocketAddress)
{
    test::TempDataFolder folder;
    EXPECT_EQ(folder.path() + "/.run/Lumivane_ClassName.sock", windowSocketPath(kConsoleWindowClass));
    EXPECT_EQ("", windowSocketPath(std::string(120, 'x')));
    EXPECT_EQ("", windowSocketPath(""));
}

TEST(WindowMessages, PostingWithoutAListenerIsNoError)
{
    test::TempDataFolder folder;
    EXPECT_EQ(PostResult::NoListener, postWindowMessage(kServerWindowClass, {1124, 0, 0}));

    // A socket file left behind by a program that died: nobody accepts on it.
    const std::string path = windowSocketPath(kServerWindowClass, true);
    {
        WindowMessageListener dead;
        std::string error;
        ASSERT_TRUE(dead.listen(path, {1124}, error)) << error;
    }
    const int stale = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(0, ::bind(stale, reinterpret_cast<const sockaddr*>(&address), sizeof address));
    ::close(stale);
    EXPECT_EQ(PostResult::NoListener, postWindowMessage(kServerWindowClass, {1125, 0, 0}));
}

TEST(WindowMessages, ListenerReceivesPostedMessagesInOrder)
{
    test::TempDataFolder folder;
    WindowMessageListener listener;
    std::string error;
    ASSERT_TRUE(listener.listenAs(kServerWindowClass, error)) << error;

    EXPECT_EQ(PostResult::Delivered, postWindowMessage(kServerWindowClass, {1124, 0, 0}));
    EXPECT_EQ(PostResult::Delivered, postWindowMessage(kServerWindowClass, {1125, 0, 0}));
    EXPECT_EQ(PostResult::Delivered, postWindowMessage(kServerWindowClass, {1128, 2, 0}));
    const auto received = pollFor(listener, 3);
    ASSERT_EQ(3u, received.size());
    EXPECT_EQ(1124, received[0].message);
    EXPECT_EQ(1125, received[1].message);
    EXPECT_EQ((WindowMessage{1128, 2, 0}), received[2]);

    const std::string path = listener.path();
    listener.close();
    EXPECT_NE(0, ::access(path.c_str(), F_OK)) << "the socket file is removed on close";
}

TEST(WindowMessages, MisbehavingSendersCannotTieTheListenerUp)
{
    test::TempDataFolder folder;
    WindowMessageListener listener;
    std::string error;
    ASSERT_TRUE(listener.listenAs(kServerWindowClass, error)) << error;
    const std::string path = listener.path();

    const int silent = connectTo(path);  // connects and never writes
    const int garbage = connectTo(path); // a line that is no message, then one that is: one line per connection
    sendAll(garbage, "hello\n1126 0 0\n");
    const int endless = connectTo(path); // never ends its line
    sendAll(endless, std::string(1000, '7'));
    EXPECT_EQ(PostResult::Delivered, postWindowMessage(kServerWindowClass, {1125, 0, 0}));

    auto received = pollFor(listener, 2, 1000ms);
    ASSERT_EQ(1u, received.size());
    EXPECT_EQ(1125, received[0].message);

    // The garbage and the endless line were cut off; the silent one is dropped after the stall limit.
    EXPECT_TRUE(wasCutOff(garbage));
    EXPECT_TRUE(wasCutOff(endless));
    pollFor(listener, 1, WindowMessageListener::kStallLimit + 500ms);
    EXPECT_TRUE(wasCutOff(silent));
    for (int fd : {silent, garbage, endless})
        ::close(fd);

    EXPECT_EQ(PostResult::Delivered, postWindowMessage(kServerWindowClass, {1124, 0, 0}));
    received = pollFor(listener, 1);
    ASSERT_EQ(1u, received.size());
    EXPECT_EQ(1124, received[0].message);
}

TEST(WindowMessages, OnlyMessagesFromOtherProgramsAreTakenAndRefusalsNameTheSender)
{
    test::TempDataFolder folder;
    WindowMessageListener listener;
    std::vector<std::string> refusals;
    listener.setRefusalLog([&](const std::string& line) { refusals.push_back(line); });
    std::string error;
    ASSERT_TRUE(listener.listenAs(kServerWindowClass, error)) << error;

    // The server's own run-finished notice, forged, would make it wait for a run that is not there.
    EXPECT_EQ(PostResult::Delivered, postWindowMessage(kServerWindowClass, {1524, 0, 0}));
    EXPECT_EQ(PostResult::Delivered, postWindowMessage(kServerWindowClass, {windowMessages::kActivate, 0, 0}));
    const int overlong = connectTo(listener.path()); // a message, but on a line of 65 bytes
    sendAll(overlong, "1126 0 " + std::string(57, '0') + "\n");
    EXPECT_TRUE(pollFor(listener, 1, 500ms).empty());
    ::close(overlong);

    ASSERT_EQ(3u, refusals.size());
    std::sort(refusals.begin(), refusals.end());
    const std::string uid = "from uid " + std::to_string(::getuid());
    EXPECT_EQ("Refused window message \"1524 0 0\" " + uid + ": message 1524 is not taken from other programs",
              refusals[1]);
    EXPECT_EQ("Refused window message \"6 0 0\" " + uid + ": message 6 is not taken from other programs", refusals[2]);
    EXPECT_NE(std::string::npos, refusals[0].find(uid + ": the line is longer than 64 bytes")) << refusals[0];

    SingleInstance console("VaneController", kConsoleWindowClass);
    ASSERT_EQ(SingleInstance::Start::First, console.start(error)) << error;
    EXPECT_EQ(PostResult::Delivered, postWindowMessage(kConsoleWindowClass, {1124, 0, 0}));
    EXPECT_EQ(PostResult::Delivered, postWindowMessage(kConsoleWindowClass, {windowMessages::kActivate, 0, 0}));
    const auto received = pollFor(console.listener(), 2, 500ms);
    ASSERT_EQ(1u, received.size()) << "the console takes only \"activate\"";
    EXPECT_EQ(windowMessages::kActivate, received[0].message);
}

TEST(WindowMessages, AFloodOnOneConnectionIsCutOffAndOthersAreStillServed)
{
    test::TempDataFolder folder;
    WindowMessageListener listener;
    std::string error;
    ASSERT_TRUE(listener.listenAs(kServerWindowClass, error)) << error;

    const int flood = connectTo(listener.path());
    std::thread sender([flood] {
        const std::string lines = [] {
            std::string text;
            for (int i = 0; i < 1024; ++i)
                text += "1125 0 0\n";
            return text;
        }();
        for (size_t sent = 0; sent < 12u << 20;) {
            const ssize_t got = ::send(flood, lines.data(), lines.size(), MSG_NOSIGNAL);
            if (got <= 0)
                return; // cut off
            sent += static_cast<size_t>(got);
        }
    });
    std::vector<WindowMessage> received;
    const auto deadline = std::chrono::steady_clock::now() + 3s;
    while (std::chrono::steady_clock::now() < deadline && received.size() < 2) {
        listener.poll(50ms, [&](const WindowMessage& message) { received.push_back(message); });
        if (received.size() == 1) {
            EXPECT_EQ(PostResult::Delivered, postWindowMessage(kServerWindowClass, {1124, 0, 0}));
        }
    }
    sender.join();
    ::close(flood);
    ASSERT_EQ(2u, received.size());
    EXPECT_EQ((WindowMessage{1125, 0, 0}), received[0]) << "one connection, one message";
    EXPECT_EQ((WindowMessage{1124, 0, 0}), received[1]);
    EXPECT_TRUE(pollFor(listener, 1, 300ms).empty()) << "nothing of the flood is left over";
}

TEST(WindowMessages, EqualMessagesWaitingTogetherAreHandedOnOnce)
{
    test::TempDataFolder folder;
    WindowMessageListener listener;
    std::string error;
    ASSERT_TRUE(listener.listenAs(kServerWindowClass, error)) << error;
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(PostResult::Delivered, postWindowMessage(kServerWindowClass, {1125, 0, 0}));
    EXPECT_EQ(PostResult::Delivered, postWindowMessage(kServerWindowClass, {1128, 1, 0}));
    const auto received = pollFor(listener, 3, 500ms);
    EXPECT_EQ((std::vector<WindowMessage>{{1125, 0, 0}, {1128, 1, 0}}), received);
}

TEST(WindowMessages, ListenerReplacesAStaleSocketButNoOtherFile)
{
    test::TempDataFolder folder;
    const std::string path = windowSocketPath(kConsoleWindowClass, true);
    std::string error;
    {
        WindowMessageListener first;
        ASSERT_TRUE(first.listen(path, {6}, error)) << error;
        struct stat info
        {
        };
        ASSERT_EQ(0, ::stat(path.c_str(), &info));
        EXPECT_EQ(0660u, info.st_mode & 0777);
        // A crashed program leaves its socket file: simulate by listening again on the same path.
        WindowMessageListener second;
        ASSERT_TRUE(second.listen(path, {6}, error)) << error;
        EXPECT_EQ(PostResult::Delivered, postWindowMessage(kConsoleWindowClass, {6, 0, 0}));
        EXPECT_EQ(1u, pollFor(second, 1).size());
        second.close();
    }
    test::writeFile(path, "not a socket");
    WindowMessageListener listener;
    EXPECT_FALSE(listener.listen(path, {6}, error));
    EXPECT_EQ("not a socket", test::readFile(path));
}

TEST(WindowMessages, ListenerThreadCallsTheHandlerAndStops)
{
    test::TempDataFolder folder;
    WindowMessageListener listener;
    std::string error;
    ASSERT_TRUE(listener.listenAs(kServerWindowClass, error)) << error;

    std::mutex mutex;
    std::condition_variable arrived;
    std::vector<int> numbers;
    ASSERT_TRUE(listener.start([&](const WindowMessage& message) {
        std::lock_guard lock(mutex);
        numbers.push_back(message.message);
        arrived.notify_all();
    }));
    EXPECT_FALSE(listener.start({})) << "one thread per listener";
    for (int message : {1124, 1125, 1126})
        EXPECT_EQ(PostResult::Delivered, postWindowMessage(kServerWindowClass, {message, 0, 0}));
    {
        std::unique_lock lock(mutex);
        EXPECT_TRUE(arrived.wait_for(lock, 3s, [&] { return numbers.size() == 3; }));
    }
    EXPECT_EQ((std::vector<int>{1124, 1125, 1126}), numbers);
    listener.stop(); // returns although nothing more arrives
    listener.stop();
}

TEST(SingleInstance, SecondStartFindsTheFirstAndPostsToIt)
{
    test::TempDataFolder folder;
    std::string error;
    auto first = std::make_unique<SingleInstance>("VaneController", kConsoleWindowClass);
    ASSERT_EQ(SingleInstance::Start::First, first->start(error)) << error;

    SingleInstance second("VaneController", kConsoleWindowClass);
    EXPECT_EQ(SingleInstance::Start::AlreadyRunning, second.start(error));
    EXPECT_EQ(PostResult::Delivered, second.postToRunning({windowMessages::kActivate, 0, 0}));
    const auto received = pollFor(first->listener(), 1);
    ASSERT_EQ(1u, received.size());
    EXPECT_EQ(windowMessages::kActivate, received[0].message);

    SingleInstance otherProgram("VaneCheckServer", kServerWindowClass);
    EXPECT_EQ(SingleInstance::Start::First, otherProgram.start(error)) << "each program has its own mutex";

    first.reset();
    EXPECT_EQ(PostResult::NoListener, second.postToRunning({windowMessages::kActivate, 0, 0}, 0ms));
    EXPECT_EQ(SingleInstance::Start::First, second.start(error)) << "the mutex is free once the first ended";
}

TEST(CommandLine, SplitsLikeAShelllessCommandLine)
{
    using Args = std::vector<std::string>;
    EXPECT_EQ((Args{"/usr/bin/prog", "a", "b"}), splitCommandLine("  /usr/bin/prog\ta   b "));
    EXPECT_EQ((Args{"/opt/my prog/run", "--name=two words", ""}),
              splitCommandLine("\"/opt/my prog/run\" --name=\"two words\" \"\""));
    EXPECT_EQ((Args{"echo", "$HOME", "*", "a;b", "`x`"}), splitCommandLine("echo $HOME * a;b `x`"));
    EXPECT_EQ((Args{"open ended"}), splitCommandLine("\"open ended"));
    EXPECT_TRUE(splitCommandLine("   ").empty());
}

TEST(SpawnDetached, StartsTheProgramInItsOwnSessionAndReapsIt)
{
    test::TempFolder folder;
    const std::string script = folder.file("child.sh");
    const std::string output = folder.file("out.txt");
    // Writes its two first arguments, its session and its process id.
    test::writeFile(script, "#!/bin/sh\n"
                            "printf '%s|%s|%s %s' \"$1\" \"$2\" \"$(cut -d' ' -f6 /proc/$$/stat)\" $$ > \"$3.tmp\"\n"
                            "mv \"$3.tmp\" \"$3\"\n");
    ::chmod(script.c_str(), 0755);

    std::string error;
    pid_t child = 0;
    ASSERT_TRUE(spawnDetached({script, "/show", "two words", output}, error, &child)) << error;
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (!test::fileExists(output) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(10ms);
    const std::string written = test::readFile(output);
    const size_t ids = written.rfind('|') + 1;
    EXPECT_EQ("/show|two words|", written.substr(0, ids));
    long session = 0, process = 0;
    ASSERT_EQ(2, std::sscanf(written.c_str() + ids, "%ld %ld", &session, &process)) << written;
    EXPECT_EQ(process, child);
    EXPECT_EQ(session, process) << "the child leads a session of its own";

    // Reaped: once gone, not even a zombie answers.
    while (::kill(child, 0) == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(10ms);
    EXPECT_NE(0, ::kill(child, 0));
}

TEST(SpawnDetached, ReportsAProgramThatCannotBeStarted)
{
    test::TempFolder folder;
    std::string error;
    EXPECT_FALSE(spawnDetached({folder.file("lumiwatch"), "/show", "1"}, error));
    EXPECT_NE(std::string::npos, error.find(folder.file("lumiwatch")));
    test::writeFile(folder.file("plain"), "not a program");
    error.clear();
    EXPECT_FALSE(spawnDetached({folder.file("plain")}, error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(spawnDetached({}, error));
}
