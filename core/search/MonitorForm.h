#pragma once

#include "ModelLookup.h"
#include "tessera.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lumivane {

// The registration form beside the panel tree: what the operator edits for the selected monitor or group,
// which controls it shows, and the checks run before the form is stored. Dialogs bind widgets to it;
// lumictl edits monitors through it, so both refuse the same values with the same messages.

enum class FormSubject
{
    Nothing,
    Group,
    Monitor
};

inline constexpr int kRs232cInterface = 0;
inline constexpr int kLanInterface = 1;
inline constexpr int kDefaultDataPort = 10008;
inline constexpr int kLowestDataPort = 1025;
inline constexpr int kHighestDataPort = 65535;
inline constexpr size_t kMaxFormNameLength = 256; // bytes; a longer name is cut
inline constexpr size_t kMaxLoginLength = 8;      // user name and password, bytes each
inline constexpr int kHighestComPort = 256;
inline constexpr int kHighestMonitorId = 255;

struct MonitorForm
{
    FormSubject subject = FormSubject::Nothing;
    std::string name;
    int interface = kRs232cInterface;
    uint32_t ipAddress = 0;
    int dataPort = kDefaultDataPort;
    std::string macAddress;
    int comPort = 1;     // the COM combo's item data
    int monitorId = 0;   // the ID combo's index: 0 "(No use)", 1..255
    int baudRate = 9600; // the baud combo's item data
    std::string model;   // as shown: "ZR-1190" for the stored "Brela"
    std::string serialNo;
    bool expansionBoard = false;
    bool use = true;
    bool monitoring = true;
    std::string userName; // set through the password dialog
    std::string password;
    // Set by every edit, radio, combo or check change; cleared by storing. Only a changed form is stored.
    bool changed = false;
};

// Which controls the form shows or enables for what it holds.
struct FormLayout
{
    int nameLabel = 0; // message number of the name's label: 120 monitor, 121 group
    bool name = false;
    bool monitorFields = false; // interface radios, ID, model, serial number, the two checks
    bool comPort = false;       // and the baud rate
    bool lanFields = false;     // IP address, data port, MAC address, "Register Password..."
    bool expansionBoard = false;
    bool enablePowerOn = false;
    bool monitoringEnabled = false;
};

MonitorForm formForNothing();
MonitorForm formForGroup(const TESSERA_GROUP_DATA& group);
MonitorForm formForMonitor(const TESSERA_PANEL_DATA& monitor);

FormLayout formLayout(const MonitorForm& form);

// The model name as the form shows it and as the store keeps it ("ZR-1190" is stored as "Brela").
std::string modelNameAsShown(std::string_view stored);
std::string modelNameAsStored(std::string_view shown);

// Entries of the model combo: the aliases of "ModelName.txt" in file order, then the monitor's own model
// (as shown) when the list lacks it.
std::vector<std::string> modelChoices(const std::vector<ModelAlias>& aliases, std::string_view storedModel);
// Item data of the COM combo: ports 1 to 256, and `current` at its sorted place when it is not one of them.
std::vector<int> comPortChoices(int current);
// Item data of the baud combo.
std::vector<int> baudRateChoices();
// Text of an ID combo entry: "(No use)" for 0, else the number.
std::string monitorIdText(int id);

// The outcome of checking the form: 0 when it may be stored, else the message number and its text.
struct FormVerdict
{
    int message = 0;
    std::string text;
    bool valid() const { return message == 0; }
};

// Checks the form before it is stored. The form is first brought into shape: a name is cut to 256 bytes,
// an RS-232C monitor's data port outside 1025..65535 becomes 10008. Then for a group: 292 without name.
// For a monitor: 147 without name, 289 a LAN data port out of range, 169 a character that file names
// cannot hold, 454 a model that keeps its "[%03d]" panel number in the name, 170 another monitor of
// `registered` with the same name ignoring case. `selected` is the monitor as registered.
FormVerdict checkForm(MonitorForm& form, const TESSERA_PANEL_DATA& selected,
                      const std::vector<TESSERA_PANEL_DATA>& registered);

// The record to store: `selected` overwritten with the form's fields; bit 0 of nModelFlags from "With
// Expansion Board", its other bits kept.
TESSERA_PANEL_DATA monitorFromForm(const MonitorForm& form, const TESSERA_PANEL_DATA& selected);

// Sets both log-in fields as the password dialog hands them over; false (form unchanged) when one is
// longer than 8 bytes.
bool setLogin(MonitorForm& form, std::string_view userName, std::string_view password);

// "Use this monitor" changed: "Monitoring target" is enabled only while it is checked.
void setUse(MonitorForm& form, bool use);
// A new model: the serial number belongs to the old one and is emptied. True when the new model is the
// ZR-1190, whose power-on command must then be enabled ("Enable Power On").
bool setModel(MonitorForm& form, std::string_view shownModel);

// What "Get Monitor's Information" read (`read`: the monitor with the fields the routine filled) shown in
// the form: model, serial number, MAC address and the expansion board. Sets the changed flag.
void showMonitorInformation(MonitorForm& form, const TESSERA_PANEL_DATA& read);

} // namespace lumivane
