// The command lists of "Send all value" and "Receive all value": which commands with which values.
#include "SettingLists.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace lumivane;

namespace {

constexpr InputModeIndex kPcDvi = 1;
constexpr InputModeIndex kAvVideo = 9;

std::vector<std::string> texts(const std::vector<CommandItem>& items)
{
    std::vector<std::string> result;
    for (const CommandItem& item : items)
        result.push_back(item.kind == kDoNothingItem ? "(nothing)" : item.text);
    return result;
}

MONITOR_SETTING settingFor(ModelCode model, InputModeIndex input)
{
    MONITOR_SETTING setting;
    resetToDefaults(setting, model, input, 14);
    return setting;
}

TEST(SettingLists, SendAllAddsColourManagementOnlyWhereItApplies)
{
    const ModelCode anyModel; // accepts every command
    MONITOR_SETTING video = settingFor(anyModel, kAvVideo);
    video.control.VOLM = 22;
    video.cms[CmsSaturation].colour[2] = -5;
    const std::vector<std::string> all = texts(sendAllList(video, anyModel));
    ASSERT_EQ(23u, all.size());
    EXPECT_EQ((std::vector<std::string>{"WIDE0001", "BMOD0000", "VLMP0031", "VOLM0022", "MUTE0000", "CMHR0000"}),
              std::vector<std::string>(all.begin(), all.begin() + 6));
    EXPECT_EQ("CMSB-005", all[5 + 6 + 2]);
    EXPECT_EQ("CMVY0000", all.back());

    MONITOR_SETTING pc = settingFor(anyModel, kPcDvi);
    EXPECT_EQ(5u, sendAllList(pc, anyModel).size());
    EXPECT_EQ(5u, receiveAllList(pc, anyModel, ReceiveScope::Everything).size());

    video.picture.FLES = 1; // sending colour management is left out, receiving it is not
    EXPECT_EQ(5u, sendAllList(video, anyModel).size());
    EXPECT_EQ(23u, receiveAllList(video, anyModel, ReceiveScope::Everything).size());

    video.control.received = 1;
    video.cms[CmsHue].received = 1;
    EXPECT_EQ((std::vector<std::string>{"CMSR????", "CMSG????", "CMSB????", "CMSC????", "CMSM????", "CMSY????",
                                        "CMVR????", "CMVG????", "CMVB????", "CMVC????", "CMVM????", "CMVY????"}),
              texts(receiveAllList(video, anyModel, ReceiveScope::MissingOnly)));
}

TEST(SettingLists, ZrFamilyAndUsbInputUseTheirOwnRows)
{
    const ModelCode zr = ModelCode::of(6, 0);
    MONITOR_SETTING setting = settingFor(zr, 101);
    EXPECT_EQ((std::vector<std::string>{"WIDE0004", "AVMD0007", "VOLM0020", "MUTE0002"}),
              texts(sendAllList(setting, zr)));
    EXPECT_EQ((std::vector<std::string>{"WIDE????", "AVMD????", "VOLM????", "MUTE????"}),
              texts(receiveAllList(setting, zr, ReceiveScope::Everything)));

    MONITOR_SETTING usb = settingFor(ModelCode::of(7, 9), kUsbInput);
    const std::vector<CommandItem> send = controlSendList(usb.control, kUsbInput);
    EXPECT_EQ("(nothing)", texts(send).front());
    EXPECT_EQ("(nothing)", texts(controlReceiveList(usb.control, kUsbInput)).front());
    EXPECT_EQ((std::vector<std::string>{"VLMP0031", "MUTE0000"}),
              texts(controlSendList(usb.control, kPcDvi, ControlRowBright | ControlRowMute)));

    // The query items store into the record that the run is given.
    const std::vector<CommandItem> receive = controlReceiveList(usb.control, kPcDvi);
    EXPECT_EQ(&usb.control.MUTE, receive.back().data);
    EXPECT_EQ(&usb.control.WIDE, receive.front().data);
}

TEST(SettingLists, PowerIsSentAloneWhileOff)
{
    MONITOR_SETTING setting = settingFor(ModelCode(), 3);
    setting.power = 1;
    EXPECT_EQ((std::vector<std::string>{"POWR0001", "INPS0003"}), texts(powerInputSendList(setting)));
    setting.power = 0;
    EXPECT_EQ((std::vector<std::string>{"POWR0000"}), texts(powerInputSendList(setting)));
}

} // namespace
