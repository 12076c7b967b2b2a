// The registration form without widgets: what it shows, what it refuses and what it stores.
#include "MonitorForm.h"
#include "PanelRegistry.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace lumivane;

namespace {

TESSERA_PANEL_DATA monitor(int number, const char* name)
{
    TESSERA_PANEL_DATA data = PanelRegistry::newMonitorDefaults();
    data.nPanelNo = number;
    std::strcpy(data.szName, name);
    return data;
}

TEST(MonitorForm, DataPortOutOfRangeIsResetForRs232cAndRefusedForLan)
{
    TESSERA_PANEL_DATA stored = monitor(3, "Hall");
    MonitorForm form = formForMonitor(stored);
    form.dataPort = 80;
    EXPECT_TRUE(checkForm(form, stored, {stored}).valid());
    EXPECT_EQ(10008, monitorFromForm(form, stored).nDataPort);

    form = formForMonitor(stored);
    form.interface = kLanInterface;
    form.dataPort = 80;
    const FormVerdict verdict = checkForm(form, stored, {stored});
    EXPECT_EQ(289, verdict.message);
    EXPECT_EQ("Data Port is out of range.", verdict.text);
    form.dataPort = 65536;
    EXPECT_EQ(289, checkForm(form, stored, {stored}).message);
    form.dataPort = 1025;
    EXPECT_TRUE(checkForm(form, stored, {stored}).valid());
}

TEST(MonitorForm, NamesAreCheckedInTheFormsOrder)
{
    const TESSERA_PANEL_DATA stored = monitor(7, "[007] Lobby");
    const std::vector<TESSERA_PANEL_DATA> registered{stored, monitor(8, "Hall")};
    auto verdictFor = [&](const std::string& name, int dataPort = 10008, int interface = kRs232cInterface) {
        MonitorForm form = formForMonitor(stored);
        form.name = name;
        form.dataPort = dataPort;
        form.interface = interface;
        return checkForm(form, stored, registered);
    };
    EXPECT_EQ(147, verdictFor("").message);
    EXPECT_EQ(169, verdictFor("Hall|2").message);
    EXPECT_EQ(289, verdictFor("Hall|2", 80, kLanInterface).message) << "the data port is checked before the name";
    EXPECT_EQ(170, verdictFor("hALL").message);
    EXPECT_TRUE(verdictFor("[007] Lobby").valid()) << "its own name is no duplicate";

    MonitorForm form = formForMonitor(stored);
    form.model = "QX-T655"; // keeps its panel number in the name
    form.name = "Lobby";
    const FormVerdict kept = checkForm(form, stored, registered);
    EXPECT_EQ(454, kept.message);
    EXPECT_EQ("Cannot change and delete a monitor ID \"[007]\" on monitor name.", kept.text);

    form.name = std::string(300, 'x');
    form.model.clear();
    EXPECT_TRUE(checkForm(form, stored, registered).valid());
    EXPECT_EQ(256u, form.name.size());

    TESSERA_GROUP_DATA group{};
    MonitorForm groupForm = formForGroup(group);
    EXPECT_EQ(292, checkForm(groupForm, stored, registered).message);
    groupForm.name = "A|B";
    EXPECT_TRUE(checkForm(groupForm, stored, registered).valid()) << "group names have no character rule";
    MonitorForm nothing = formForNothing();
    EXPECT_TRUE(checkForm(nothing, stored, registered).valid());
}

TEST(MonitorForm, StoringKeepsWhatTheFormDoesNotHold)
{
    TESSERA_PANEL_DATA stored = monitor(4, "Stage");
    std::strcpy(stored.szModel, "Brela");
    std::strcpy(stored.szUserName, "admin");
    stored.nModelFlags = 2;
    stored.nStatusKey = 41;
    stored.bSchedule = 1;
    stored.nScheduleNo = 5;
    stored.nMdelValue = 3;

    MonitorForm form = formForMonitor(stored);
    EXPECT_EQ("ZR-1190", form.model);
    const TESSERA_PANEL_DATA same = monitorFromForm(form, stored);
    EXPECT_EQ(0, std::memcmp(&stored, &same, sizeof stored)) << "an unedited form stores the record unchanged";

    form.expansionBoard = true;
    form.monitorId = 12;
    form.comPort = 300;
    const TESSERA_PANEL_DATA edited = monitorFromForm(form, stored);
    EXPECT_STREQ("Brela", edited.szModel);
    EXPECT_EQ(3, edited.nModelFlags);
    EXPECT_EQ(12, edited.nMonitorID);
    EXPECT_EQ(300, edited.nComPort);
    EXPECT_EQ(41, edited.nStatusKey);
    EXPECT_EQ(5, edited.nScheduleNo);
    EXPECT_EQ(3, edited.nMdelValue);
    EXPECT_STREQ("admin", edited.szUserName);

    const std::vector<int> ports = comPortChoices(300);
    EXPECT_EQ(257u, ports.size());
    EXPECT_EQ(300, ports.back());
    EXPECT_EQ(256u, comPortChoices(3).size());
}

TEST(MonitorForm, LayoutFollowsSubjectInterfaceAndModel)
{
    EXPECT_FALSE(formLayout(formForNothing()).name);
    const FormLayout group = formLayout(formForGroup(TESSERA_GROUP_DATA{}));
    EXPECT_TRUE(group.name);
    EXPECT_EQ(121, group.nameLabel);
    EXPECT_FALSE(group.monitorFields);

    TESSERA_PANEL_DATA stored = monitor(1, "A");
    std::strcpy(stored.szModel, "QX-A32");
    MonitorForm form = formForMonitor(stored);
    FormLayout layout = formLayout(form);
    EXPECT_EQ(120, layout.nameLabel);
    EXPECT_TRUE(layout.comPort);
    EXPECT_FALSE(layout.lanFields);
    EXPECT_FALSE(layout.expansionBoard);
    EXPECT_TRUE(layout.monitoringEnabled);

    form.interface = kLanInterface;
    setUse(form, false);
    EXPECT_FALSE(setModel(form, "QX-T988"));
    layout = formLayout(form);
    EXPECT_FALSE(layout.comPort);
    EXPECT_TRUE(layout.lanFields);
    EXPECT_TRUE(layout.expansionBoard);
    EXPECT_FALSE(layout.monitoringEnabled);
    EXPECT_FALSE(layout.enablePowerOn);

    form.serialNo = "S-1";
    form.changed = false;
    EXPECT_TRUE(setModel(form, "ZR-1190"));
    EXPECT_TRUE(form.serialNo.empty()) << "the serial number belonged to the old model";
    EXPECT_TRUE(form.changed);
    layout = formLayout(form);
    EXPECT_TRUE(layout.enablePowerOn);
    EXPECT_FALSE(layout.expansionBoard);

    EXPECT_FALSE(setLogin(form, "operator9", "x"));
    EXPECT_TRUE(setLogin(form, "operator", "12345678"));
    EXPECT_EQ("operator", form.userName);
}

} // namespace
