#include "SendMail.h"
#include "ParsedMail.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sys/stat.h>

using namespace lumivane;

namespace {

// A fake mail program in a temporary folder, pointed at by LUMIVANE_SENDMAIL. It stores its arguments
// (one per line) and its standard input, then runs `ending` ("exit 0" unless told otherwise).
class FakeSendmail
{
public:
    explicit FakeSendmail(const std::string& ending = "cat > \"$DIR/stdin\"\nexit 0")
        : m_program(m_folder.file("sendmail")), m_environment(kSendmailVariable, m_program)
    {
        test::writeFile(m_program, "#!/bin/sh\nDIR='" + m_folder.path() + "'\nprintf '%s\\n' \"$@\" > \"$DIR/args\"\n" +
                                       ending + "\n");
        ::chmod(m_program.c_str(), 0755);
    }

    bool ran() const { return test::fileExists(m_folder.file("args")); }
    std::string arguments() const { return test::readFile(m_folder.file("args")); }
    std::string input() const { return test::readFile(m_folder.file("stdin")); }
    const std::string& program() const { return m_program; }

private:
    test::TempFolder m_folder;
    std::string m_program;
    test::ScopedEnvironment m_environment;
};

TEST(SendMail, HandsTheMessageToTheProgramOnStandardInput)
{
    FakeSendmail fake;
    const MailResult result = SendMail("Lumivane Error Notice ([001] Lobby)",
                                       "Status : Connection Error\r\n\r\nMonitor Name : [001] Lobby\r\n",
                                       {"ops@example.com", "night@example.org"});
    ASSERT_TRUE(result.ok) << result.text << " / " << result.detail;
    EXPECT_EQ(0, result.message);
    EXPECT_EQ("-t\n-i\n", fake.arguments()); // recipients come from the headers, never the command line

    const test::ParsedMail mail = test::parseMail(fake.input());
    ASSERT_TRUE(mail.wellFormed) << fake.input();
    EXPECT_EQ(std::vector<std::string>{"ops@example.com, night@example.org"}, mail.values("To"));
    EXPECT_EQ("Lumivane Error Notice ([001] Lobby)", mail.decodedSubject());
    EXPECT_EQ("Status : Connection Error\r\n\r\nMonitor Name : [001] Lobby\r\n", mail.body);
}

TEST(SendMail, NoRecipientsRunsNothing)
{
    FakeSendmail fake;
    EXPECT_TRUE(SendMail("s", "b", {}).ok);
    EXPECT_FALSE(fake.ran());
    test::ScopedEnvironment missing(kSendmailVariable, "/nonexistent/sendmail");
    EXPECT_TRUE(SendMail("s", "b", {}).ok);
}

TEST(SendMail, ANonZeroExitStatusIsTheErrorCode)
{
    FakeSendmail fake("cat > /dev/null\nexit 3");
    const MailResult result = SendMail("s", "b", {"ops@example.com"});
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(257, result.message);
    EXPECT_EQ(3, result.errorCode);
    EXPECT_EQ("Send mail error. (Error code = 3)", result.text);
}

TEST(SendMail, AProgramThatCannotBeStartedIsNotFound)
{
    test::TempFolder folder;
    const std::string notExecutable = folder.file("sendmail");
    test::writeFile(notExecutable, "#!/bin/sh\nexit 0\n");
    ::chmod(notExecutable.c_str(), 0644);
    for (const std::string& program : {folder.file("missing"), folder.path(), notExecutable}) {
        test::ScopedEnvironment environment(kSendmailVariable, program);
        const MailResult result = SendMail("s", "b", {"ops@example.com"});
        EXPECT_FALSE(result.ok) << program;
        EXPECT_EQ(270, result.message) << program;
        EXPECT_EQ("Mapi32.dll is not found.", result.text);
        EXPECT_NE(std::string::npos, result.detail.find(program));
    }
}

TEST(SendMail, AProgramKilledBySignalIsABrokenSend)
{
    FakeSendmail fake("kill -9 $$");
    const MailResult result = SendMail("s", "b", {"ops@example.com"});
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(258, result.message);
    EXPECT_EQ("Send mail error. Mapi32.dll may be broken.", result.text);
}

TEST(SendMail, AProgramThatStopsReadingNeitherKillsTheCallerNorSucceeds)
{
    FakeSendmail fake("exit 0"); // exits at once without reading the message
    const std::string body(1 << 20, 'x');
    const MailResult result = SendMail("s", body, {"ops@example.com"});
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(258, result.message);
}

TEST(SendMail, AStuckProgramIsStoppedAfterTheTimeOut)
{
    FakeSendmail fake("exec sleep 30");
    const auto start = std::chrono::steady_clock::now();
    const MailResult result = SendMail(MailMessage{{}, "s", "b", {"ops@example.com"}}, std::chrono::milliseconds(300));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(258, result.message);
}

TEST(TestMail, SendsTheFixedTextsToOneAddress)
{
    FakeSendmail fake;
    EXPECT_EQ("The test mail to \"ops@example.com\" will be sent. ", testMailQuestion("ops@example.com"));
    const MailResult result = sendTestMail("ops@example.com");
    ASSERT_TRUE(result.ok) << result.detail;
    EXPECT_EQ(273, result.message);
    EXPECT_EQ("A test mail was sent.\r\nPlease check whether you can receive the mail. ", result.text);
    const test::ParsedMail mail = test::parseMail(fake.input());
    ASSERT_TRUE(mail.wellFormed);
    EXPECT_EQ(std::vector<std::string>{"ops@example.com"}, mail.values("To"));
    EXPECT_EQ("Lumivane Test Mail", mail.decodedSubject());
    EXPECT_EQ("This is a test mail sent by Lumivane.\r\n", mail.body);
}

TEST(TestMail, RefusesAnInvalidAddressWithoutSending)
{
    FakeSendmail fake;
    const MailResult result = sendTestMail("ops.example.com");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(274, result.message);
    EXPECT_EQ("Invalid mail address.\r\nPlease re-enter.", result.text);
    EXPECT_FALSE(fake.ran());
}

} // namespace
