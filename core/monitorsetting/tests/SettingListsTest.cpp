// The command lists of "Send all value" and "Receive all value": which commands with which values.
#include "SettingLists.h"

#include "CommunicationRun.h"
#include "Emulator.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cstring>

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

    // The AV MODE choice reads back the colour setting the monitor chose with it.
    const std::vector<CommandItem> avMode = zrAvModeItems(setting.zrControl, 3);
    EXPECT_EQ((std::vector<std::string>{"AVMD0003", "ACSU????"}), texts(avMode));
    EXPECT_EQ(&setting.zrControl.ACSU, avMode[1].data);
}

TEST(SettingLists, PowerIsSentAloneWhileOffOrWithoutInput)
{
    MONITOR_SETTING setting = settingFor(ModelCode(), 3);
    setting.power = 1;
    EXPECT_EQ((std::vector<std::string>{"POWR0001", "INPS0003"}), texts(powerInputSendList(setting)));
    setting.power = 0;
    EXPECT_EQ((std::vector<std::string>{"POWR0000"}), texts(powerInputSendList(setting)));
    setting.power = 1;
    setting.input = kNoInput;
    EXPECT_EQ((std::vector<std::string>{"POWR0001"}), texts(powerInputSendList(setting)));
}

class QuietObserver : public RunObserver
{
public:
    void onProgress(RunProgress, int) override {}
    ErrorChoice askOnError(const ErrorBox&) override { return ErrorChoice::Abort; }
};

TESSERA_PANEL_DATA lanMonitor(const sim::Emulator& fleet, const std::string& chain)
{
    const auto place = fleet.place(chain);
    TESSERA_PANEL_DATA monitor{};
    std::strcpy(monitor.szName, chain.c_str());
    std::strcpy(monitor.szModel, "QX-T988");
    monitor.nInterface = 1;
    in_addr address{};
    ::inet_pton(AF_INET, place->address.c_str(), &address);
    monitor.dwIPAddress = ntohl(address.s_addr);
    monitor.nDataPort = place->dataPort;
    monitor.nBaudRate = 9600;
    return monitor;
}

bool sentWide(const sim::Emulator& fleet, const std::string& monitor)
{
    for (const std::string& command : fleet.commandsCarriedOut(monitor))
        if (command.rfind("WIDE", 0) == 0)
            return true;
    return false;
}

// A monitor that is part of a video wall keeps its picture size; the others of the same run get it.
TEST(SettingLists, EnlargedMonitorsKeepTheirPictureSize)
{
    std::string error;
    auto fleet = sim::Emulator::startText("data-port 0\nsearch-port none\nlan a 127.0.0.2\nmonitor wall\n"
                                          "lan b 127.0.0.3\nmonitor single\n",
                                          &error);
    ASSERT_TRUE(fleet) << error;
    const TESSERA_PANEL_DATA wall = lanMonitor(*fleet, "a");
    const TESSERA_PANEL_DATA single = lanMonitor(*fleet, "b");
    const TESSERA_PANEL_DATA* both[] = {&wall, &single};
    QuietObserver observer;
    const TESSERA_PANEL_DATA* wallOnly[] = {&wall};
    ASSERT_TRUE(runCommandTexts({"EMHV0012"}, wallOnly, observer));

    ControlBlock block;
    block.WIDE = 3;
    std::vector<CommandItem> items = controlSendList(block, kAvVideo, ControlRowSize);
    ASSERT_TRUE(runCommandList(items, both, observer));
    EXPECT_FALSE(sentWide(*fleet, "wall"));
    EXPECT_EQ(3, fleet->value("single", "WIDE"));

    int32_t allowed = 1;
    std::vector<CommandItem> check{enlargeCheckItem(&allowed)};
    ASSERT_TRUE(runCommandList(check, both, observer));
    EXPECT_EQ(0, allowed);
    const TESSERA_PANEL_DATA* singleOnly[] = {&single};
    allowed = 1;
    ASSERT_TRUE(runCommandList(check, singleOnly, observer));
    EXPECT_EQ(1, allowed);
}

} // namespace
