#include "MailMessage.h"
#include "ParsedMail.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

using namespace lumivane;

namespace {

TEST(MailMessage, HasOneToHeaderAndAPlainUtf8Body)
{
    const MailMessage message{{},
                              "Lumivane Report",
                              "Monitoring Set : 2\r\nError Set: 0\r\n",
                              {"ops@example.com", "night.shift@example.org", "ops@example.com"}};
    const test::ParsedMail mail = test::parseMail(composeMessage(message));
    ASSERT_TRUE(mail.wellFormed);
    EXPECT_EQ((std::vector<std::string>{"ops@example.com, night.shift@example.org, ops@example.com"}),
              mail.values("To"));
    EXPECT_TRUE(mail.values("From").empty());
    EXPECT_EQ("Lumivane Report", mail.decodedSubject());
    EXPECT_EQ(std::vector<std::string>{"1.0"}, mail.values("MIME-Version"));
    EXPECT_EQ(std::vector<std::string>{"text/plain; charset=UTF-8"}, mail.values("Content-Type"));
    EXPECT_EQ(std::vector<std::string>{"8bit"}, mail.values("Content-Transfer-Encoding"));
    EXPECT_EQ("Monitoring Set : 2\r\nError Set: 0\r\n", mail.body);
}

TEST(MailMessage, BodyLinesEndWithCrLfWhateverTheyCameWith)
{
    const MailMessage message{"Lumivane <lumivane@example.com>", "s", "a\nb\r\nc\rd\n\n.\ne", {"x@y"}};
    const test::ParsedMail mail = test::parseMail(composeMessage(message));
    ASSERT_TRUE(mail.wellFormed);
    EXPECT_EQ("a\r\nb\r\nc\r\nd\r\n\r\n.\r\ne\r\n", mail.body);
    EXPECT_EQ(std::vector<std::string>{"Lumivane <lumivane@example.com>"}, mail.values("From"));
    EXPECT_EQ("", test::parseMail(composeMessage({{}, "s", "", {"x@y"}})).body);
}

TEST(MailMessage, LineBreaksInHeaderValuesCannotAddHeaders)
{
    const MailMessage message{
        "a@b\r\nBcc: from@evil", "Error (Lobby\r\nBcc: spy@evil.example)", "x", {"ops@example.com\r\nBcc: to@evil"}};
    const test::ParsedMail mail = test::parseMail(composeMessage(message));
    ASSERT_TRUE(mail.wellFormed);
    EXPECT_TRUE(mail.values("Bcc").empty());
    EXPECT_EQ(1u, mail.values("To").size());
    EXPECT_EQ("Error (Lobby  Bcc: spy@evil.example)", mail.decodedSubject());
}

TEST(MailMessage, NonAsciiSubjectsAreEncodedWordsThatNeverSplitACharacter)
{
    const std::string monitor = "Empfangshalle \xc3\xbc"
                                "ber dem Foyer \xe2\x80\x94 Bildschirm \xf0\x9f\x96\xa5 Nord";
    const std::string subject = "Lumivane Error Notice (" + monitor + monitor + ")";
    const std::string text = composeMessage({{}, subject, "x", {"x@y"}});
    const test::ParsedMail mail = test::parseMail(text);
    ASSERT_TRUE(mail.wellFormed);
    EXPECT_EQ(subject, mail.decodedSubject());

    const std::string raw = mail.values("Subject").at(0);
    size_t words = 0;
    for (size_t start = raw.find("=?"); start != std::string::npos; start = raw.find("=?", start + 1)) {
        const size_t end = raw.find("?=", start + 10);
        ASSERT_NE(std::string::npos, end);
        EXPECT_LE(end + 2 - start, 75u);
        const std::string piece = test::decodeBase64(raw.substr(start + 10, end - start - 10));
        const auto last = static_cast<unsigned char>(piece.back());
        EXPECT_TRUE(last < 0x80 || (last & 0xC0) == 0x80) << "a word ends inside a character";
        EXPECT_NE(0x80, static_cast<unsigned char>(piece.front()) & 0xC0) << "a word starts inside a character";
        ++words;
        start = end;
    }
    EXPECT_GT(words, 1u);
    for (size_t line = text.find("\r\n"), begin = 0; line != std::string::npos;
         begin = line + 2, line = text.find("\r\n", begin))
        EXPECT_LE(line - begin, 76u);
}

TEST(MailMessage, AsciiLookingLikeAnEncodedWordIsEncodedToo)
{
    EXPECT_EQ("Plain subject", encodeSubject("Plain subject"));
    EXPECT_EQ("=?UTF-8?B?PT9VVEYtOD9CP2FHaz0/PQ==?=", encodeSubject("=?UTF-8?B?aGk=?="));
}

TEST(MailMessage, RecipientsStayOneAddressEach)
{
    EXPECT_EQ("ops@example.com", formatRecipient("ops@example.com"));
    EXPECT_EQ("o'neil+alerts@example.com", formatRecipient("o'neil+alerts@example.com"));
    EXPECT_EQ("\"bob, eve\"@example.com", formatRecipient("bob, eve@example.com"));
    EXPECT_EQ("\"a\\\"b\"@example.com", formatRecipient("a\"b@example.com"));
    EXPECT_EQ("\".lead\"@example.com", formatRecipient(".lead@example.com"));
    EXPECT_EQ("ops@exampleevil.com", formatRecipient("ops@example<evil>.com"));
    EXPECT_EQ("ops@[192.168.0.1]", formatRecipient("ops@[192.168.0.1]"));
    EXPECT_EQ("\"x@y\"@z", formatRecipient("x@y@z"));
    EXPECT_EQ("j\xc3\xb6rg@example.com", formatRecipient("j\xc3\xb6rg@example.com"));

    const test::ParsedMail mail = test::parseMail(composeMessage({{}, "s", "b", {"bob, eve@example.com"}}));
    EXPECT_EQ(std::vector<std::string>{"\"bob, eve\"@example.com"}, mail.values("To"));
}

// A mail reader's view: Python's email parser must see one To header holding every recipient, no
// defects, and no header line longer than 78 characters.
TEST(MailMessage, ManyRecipientsMakeOneFoldedToHeaderThatPythonReads)
{
    if (std::system("python3 -c 'import email' 2>/dev/null") != 0)
        GTEST_SKIP() << "python3 is not installed";
    std::vector<std::string> recipients;
    for (int i = 0; i < 9; ++i)
        recipients.push_back("operator." + std::to_string(i) + "@monitoring.example.com");
    recipients.push_back("bob, eve@example.com");
    const std::string text = composeMessage({"Lumivane <lumivane@example.com>", "Report", "body\r\n", recipients});

    test::TempFolder folder;
    const std::string mailFile = folder.file("mail.eml");
    test::writeFile(mailFile, text);
    const std::string script = folder.file("check.py");
    test::writeFile(script, R"(import email, email.policy, sys
data = open(sys.argv[1], 'rb').read()
message = email.message_from_bytes(data, policy=email.policy.default)
print(len(message.get_all('To')))
print(len(message.defects) + len(message['To'].defects))
for address in message['To'].addresses:
    print(address.addr_spec)
print(max(len(line) for line in data.split(b'\r\n\r\n')[0].split(b'\r\n')))
)");
    FILE* python = ::popen(("python3 " + script + " " + mailFile).c_str(), "r");
    ASSERT_NE(python, nullptr);
    std::vector<std::string> lines;
    char line[512];
    while (std::fgets(line, sizeof line, python)) {
        std::string read(line);
        read.erase(read.find_last_not_of("\n") + 1);
        lines.push_back(read);
    }
    ASSERT_EQ(0, ::pclose(python));
    ASSERT_EQ(recipients.size() + 3, lines.size());
    EXPECT_EQ("1", lines[0]) << "one To header";
    EXPECT_EQ("0", lines[1]) << "no defects";
    for (size_t i = 0; i + 1 < recipients.size(); ++i)
        EXPECT_EQ(recipients[i], lines[2 + i]);
    EXPECT_EQ("\"bob, eve\"@example.com", lines[recipients.size() + 1]);
    EXPECT_LE(std::stoi(lines.back()), 78);
}

} // namespace

// Subjects and bodies built from pieces that break lines, end strings, look like headers or are not
// ASCII: whatever the text, the mail has exactly its own headers, once each, and no NUL.
TEST(MailMessage, NoSubjectOrBodyTextAddsAHeader)
{
    const std::vector<std::string> pieces = {"\r",
                                             "\n",
                                             "\r\n",
                                             std::string(1, '\0'),
                                             "Bcc: spy@evil",
                                             ":",
                                             " ",
                                             "\t",
                                             "Ä",
                                             "€",
                                             "\xF0\x9F\x93\xBA",
                                             "\xFF",
                                             "\xC3",
                                             "=?UTF-8?B?QQ==?=",
                                             ".",
                                             "From: x@y",
                                             "Subject",
                                             "a",
                                             std::string(80, 'w')};
    uint32_t state = 2463534242u; // xorshift: the same texts on every run
    const auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    };
    const auto text = [&] {
        std::string out;
        for (uint32_t n = next() % 12; n > 0; --n)
            out += pieces[next() % pieces.size()];
        return out;
    };
    for (int round = 0; round < 5000; ++round) {
        const MailMessage message{{}, text(), text(), {"ops@example.com"}};
        const std::string composed = composeMessage(message);
        const test::ParsedMail mail = test::parseMail(composed);
        ASSERT_TRUE(mail.wellFormed) << testing::PrintToString(composed);
        ASSERT_EQ(std::string::npos, composed.find('\0')) << testing::PrintToString(composed);
        std::vector<std::string> names;
        for (const auto& [name, value] : mail.headers)
            names.push_back(name);
        ASSERT_EQ(
            (std::vector<std::string>{"To", "Subject", "MIME-Version", "Content-Type", "Content-Transfer-Encoding"}),
            names)
            << testing::PrintToString(composed);
    }
}
