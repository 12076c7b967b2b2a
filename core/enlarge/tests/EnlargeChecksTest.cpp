// The checks before a group is sent and the walk that sends a group-mode wall, driven with scripted monitor answers and
// operator answers.
#include "EnlargeChecks.h"
#include "EnlargeGroupSend.h"
#include "EnlargeGroups.h"
#include "EnlargeSendLists.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>

using namespace lumivane;

namespace {

const ModelCode kFamily = ModelCode::of(7, 6);
const ModelCode kOther = ModelCode::of(7, 9);

// Monitors answer from a table by panel number and code; a missing entry is a failed query.
class ScriptedLink : public WallCheckLink
{
public:
    std::optional<int32_t> query(const WallMonitor& monitor, std::string_view code) override
    {
        const auto answer = answers.find({monitor.panelNo, std::string(code)});
        if (answer == answers.end())
            return std::nullopt;
        return answer->second;
    }

    bool send(const WallMonitor& monitor, const std::string& command) override
    {
        sent.push_back(std::to_string(monitor.panelNo) + ":" + command);
        return sendSucceeds;
    }

    std::map<std::pair<int32_t, std::string>, int32_t> answers;
    std::vector<std::string> sent;
    bool sendSucceeds = true;
};

// The operator answers in turn; every message asked is kept.
struct ScriptedOperator
{
    CheckPrompt prompt()
    {
        return [this](const CheckQuestion& q) {
            asked.push_back(q);
            if (answers.empty())
                return CheckAnswer::No;
            const CheckAnswer answer = answers.front();
            answers.pop_front();
            return answer;
        };
    }

    std::deque<CheckAnswer> answers;
    std::vector<CheckQuestion> asked;
};

const WallMonitor kFirst{1, "[001] left", kFamily};
const WallMonitor kSecond{2, "[002] right", kFamily};

} // namespace

TEST(EnlargeChecksTest, MonitorCheckSkipsOrAbortsAsTheMonitorAndOperatorSay)
{
    ScriptedLink link;
    ScriptedOperator op;
    link.answers[{1, "POWR"}] = 0; // standby
    op.answers = {CheckAnswer::Yes};
    EXPECT_EQ(monitorCheck(kFirst, &kSecond, link, op.prompt()), CheckOutcome::Skip);
    EXPECT_EQ(op.asked.back().message, 7658);
    EXPECT_EQ(op.asked.back().names, (std::vector<std::string>{"[001]", "[002]"}));
    EXPECT_EQ(monitorCheck(kFirst, nullptr, link, op.prompt()), CheckOutcome::Abort) << "standby, last monitor";
    EXPECT_EQ(op.asked.back().message, 7669);

    link.answers[{1, "POWR"}] = 2; // no signal
    EXPECT_EQ(monitorCheck(kFirst, nullptr, link, op.prompt()), CheckOutcome::Skip);
    EXPECT_EQ(op.asked.back().message, 7670);

    link.answers[{1, "POWR"}] = 1;
    link.answers[{1, "MWIN"}] = 0;
    EXPECT_EQ(monitorCheck(kFirst, &kSecond, link, op.prompt()), CheckOutcome::Proceed);
    EXPECT_TRUE(link.sent.empty());
}

TEST(EnlargeChecksTest, SecondWindowIsSwitchedOffOnlyWithConsent)
{
    ScriptedLink link;
    ScriptedOperator op;
    link.answers[{1, "POWR"}] = 1;
    link.answers[{1, "MWIN"}] = 1;
    op.answers = {CheckAnswer::Yes, CheckAnswer::No, CheckAnswer::Cancel, CheckAnswer::Yes};
    EXPECT_EQ(monitorCheck(kFirst, &kSecond, link, op.prompt()), CheckOutcome::Proceed);
    EXPECT_EQ(link.sent, (std::vector<std::string>{"1:MWIN0000"}));
    EXPECT_EQ(monitorCheck(kFirst, &kSecond, link, op.prompt()), CheckOutcome::Skip);
    EXPECT_EQ(monitorCheck(kFirst, &kSecond, link, op.prompt()), CheckOutcome::Abort);
    EXPECT_EQ(op.asked.back().buttons, CheckQuestion::YesNoCancel);
    link.sendSucceeds = false;
    EXPECT_EQ(monitorCheck(kFirst, nullptr, link, op.prompt()), CheckOutcome::Skip) << "MWIN0000 failed";
    EXPECT_EQ(op.asked.back().message, 7668);
}

TEST(EnlargeChecksTest, InputCheckWantsOneInputAndNoAvInputs)
{
    ScriptedLink link;
    ScriptedOperator op;
    link.answers[{1, "INPS"}] = 1;
    link.answers[{2, "INPS"}] = 5;
    op.answers = {CheckAnswer::No, CheckAnswer::Yes};
    EXPECT_FALSE(groupInputCheck({kFirst, kSecond}, link, op.prompt()));
    EXPECT_EQ(op.asked.back().message, 7656);
    EXPECT_TRUE(groupInputCheck({kFirst, kSecond}, link, op.prompt()));

    const WallMonitor other{3, "[003] other", kOther};
    link.answers[{3, "INPS"}] = 8;
    op.answers = {CheckAnswer::Yes};
    EXPECT_FALSE(groupInputCheck({kFirst, other}, link, op.prompt()));
    EXPECT_EQ(op.asked[op.asked.size() - 2].message, 7661);
    EXPECT_EQ(op.asked.back().message, 7660);
    EXPECT_EQ(op.asked.back().names, (std::vector<std::string>{"[003]"}));

    link.answers.erase({2, "INPS"});
    EXPECT_FALSE(groupInputCheck({kFirst, kSecond}, link, op.prompt()));
    EXPECT_EQ(op.asked.back().message, 7663);
}

TEST(EnlargeChecksTest, IdIndicationShowsTheFamilyItsPanelNumber)
{
    const std::vector<CommandItem> on = idIndicationList(WallMonitor{4, "[004] lobby]", kFamily}, true);
    ASSERT_EQ(on.size(), 1u);
    EXPECT_STREQ(on[0].text, "TXDP1:\"[004]\",2:\"\"");
    const std::vector<CommandItem> off = idIndicationList(WallMonitor{4, "[004] lobby", kFamily}, false);
    ASSERT_EQ(off.size(), 1u);
    EXPECT_STREQ(off[0].text, "TXDP1:\"\",2:\"\"");
    const std::vector<CommandItem> other = idIndicationList(WallMonitor{5, "[005] hall", ModelCode()}, true);
    ASSERT_EQ(other.size(), 1u);
    EXPECT_EQ(other[0].kind, CommandItemKind::ReadText);
    EXPECT_STREQ(other[0].text, "IDCK0000");
    EXPECT_TRUE(idIndicationList(WallMonitor{5, "[005] hall", ModelCode()}, false).empty());
}

TEST(EnlargeChecksTest, GroupModeWallSendsLoneMonitorsAndCheckedGroupMembers)
{
    EnlargeLayout layout;
    layout.recreate(3, 1, WallOrientation::Landscape);
    for (int i = 0; i < 3; ++i) {
        layout.select(i);
        layout.assign(WallMonitor{10 + i, "[01" + std::to_string(i) + "] wall", kFamily});
    }
    GroupRectangleEditor editor(layout);
    editor.press(0);
    ASSERT_TRUE(editor.release(1));
    std::vector<int> sent;
    const auto send = [&sent](int cell) { sent.push_back(cell); };
    ScriptedLink link;
    ScriptedOperator op;
    EXPECT_FALSE(sendGroupModeWall(layout, link, op.prompt(), send)) << "a rectangle is pending";
    EXPECT_TRUE(sent.empty());
    executePendingRectangle(layout);

    for (int panel : {10, 11}) {
        link.answers[{panel, "INPS"}] = 1;
        link.answers[{panel, "POWR"}] = 1;
        link.answers[{panel, "MWIN"}] = 0;
    }
    link.answers[{11, "POWR"}] = 0; // cell 1, checked first, stands by
    op.answers = {CheckAnswer::No};
    EXPECT_TRUE(sendGroupModeWall(layout, link, op.prompt(), send));
    EXPECT_EQ(sent, (std::vector<int>{2})) << "the group is aborted, the lone monitor still sent";

    sent.clear();
    op.answers = {CheckAnswer::Yes};
    sendGroupModeWall(layout, link, op.prompt(), send);
    EXPECT_EQ(sent, (std::vector<int>{0, 2})) << "cell 1 skipped";
}
