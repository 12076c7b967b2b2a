#include "MonitorForm.h"

#include "PanelRegistry.h"
#include "Strings.h"
#include "Utf8.h"

#include <algorithm>

namespace lumivane {
namespace {

constexpr const char* kZrShownName = "ZR-1190";
constexpr const char* kZrStoredName = "Brela";

bool isLan(const MonitorForm& form)
{
    return form.interface == kLanInterface;
}

bool dataPortInRange(int port)
{
    return port >= kLowestDataPort && port <= kHighestDataPort;
}

ModelCode formModelCode(const MonitorForm& form)
{
    return modelFromName(modelNameAsStored(form.model), form.expansionBoard ? 1 : 0);
}

FormVerdict refusal(int message, std::string text)
{
    return FormVerdict{message, std::move(text)};
}

} // namespace

MonitorForm formForNothing()
{
    return MonitorForm{};
}

MonitorForm formForGroup(const TESSERA_GROUP_DATA& group)
{
    MonitorForm form;
    form.subject = FormSubject::Group;
    form.name = group.szName;
    return form;
}

MonitorForm formForMonitor(const TESSERA_PANEL_DATA& monitor)
{
    MonitorForm form;
    form.subject = FormSubject::Monitor;
    form.name = monitor.szName;
    form.interface = monitor.nInterface == kLanInterface ? kLanInterface : kRs232cInterface;
    form.ipAddress = monitor.dwIPAddress;
    form.dataPort = monitor.nDataPort;
    form.macAddress = monitor.szMACAddress;
    form.comPort = monitor.nComPort;
    form.monitorId = monitor.nMonitorID;
    form.baudRate = monitor.nBaudRate;
    form.model = modelNameAsShown(monitor.szModel);
    form.serialNo = monitor.szSerialNo;
    form.expansionBoard = (monitor.nModelFlags & 1) != 0;
    form.use = monitor.bUse != 0;
    form.monitoring = monitor.bMonitoring != 0;
    form.userName = monitor.szUserName;
    form.password = monitor.szPassword;
    return form;
}

FormLayout formLayout(const MonitorForm& form)
{
    FormLayout layout;
    if (form.subject == FormSubject::Nothing)
        return layout;
    layout.name = true;
    layout.nameLabel = form.subject == FormSubject::Group ? 121 : 120;
    if (form.subject == FormSubject::Group)
        return layout;
    layout.monitorFields = true;
    layout.comPort = !isLan(form);
    layout.lanFields = isLan(form);
    layout.expansionBoard = formModelCode(form).kind() == 7;
    layout.enablePowerOn = form.model == kZrShownName;
    layout.monitoringEnabled = form.use;
    return layout;
}

std::string modelNameAsShown(std::string_view stored)
{
    return std::string(stored == kZrStoredName ? kZrShownName : stored);
}

std::string modelNameAsStored(std::string_view shown)
{
    return std::string(shown == kZrShownName ? kZrStoredName : shown);
}

std::vector<std::string> modelChoices(const std::vector<ModelAlias>& aliases, std::string_view storedModel)
{
    std::vector<std::string> choices;
    for (const ModelAlias& alias : aliases)
        choices.push_back(alias.alias);
    const std::string own = modelNameAsShown(storedModel);
    if (!own.empty() && std::find(choices.begin(), choices.end(), own) == choices.end())
        choices.push_back(own);
    return choices;
}

std::vector<int> comPortChoices(int current)
{
    std::vector<int> ports;
    for (int port = 1; port <= kHighestComPort; ++port)
        ports.push_back(port);
    if (current < 1 || current > kHighestComPort)
        ports.insert(std::lower_bound(ports.begin(), ports.end(), current), current);
    return ports;
}

std::vector<int> baudRateChoices()
{
    return {9600, 19200, 38400};
}

std::string monitorIdText(int id)
{
    return id == 0 ? messageText(119) : std::to_string(id);
}

FormVerdict checkForm(MonitorForm& form, const TESSERA_PANEL_DATA& selected,
                      const std::vector<TESSERA_PANEL_DATA>& registered)
{
    if (form.subject == FormSubject::Nothing)
        return {};
    form.name = std::string(cutUtf8(form.name, kMaxFormNameLength));
    if (form.subject == FormSubject::Group)
        return form.name.empty() ? refusal(292, messageText(292)) : FormVerdict{};
    if (form.name.empty())
        return refusal(147, messageText(147));
    if (!dataPortInRange(form.dataPort)) {
        // Only a LAN monitor uses its data port; an RS-232C monitor keeps the default for a later switch.
        if (isLan(form))
            return refusal(289, messageText(289));
        form.dataPort = kDefaultDataPort;
    }
    const TESSERA_PANEL_DATA candidate = monitorFromForm(form, selected);
    const int message = validateMonitorName(form.name, candidate, registered);
    if (message == 454)
        return refusal(454, formatMessage(454, panelNumberPrefix(candidate.nPanelNo).c_str()));
    return message == 0 ? FormVerdict{} : refusal(message, messageText(message));
}

TESSERA_PANEL_DATA monitorFromForm(const MonitorForm& form, const TESSERA_PANEL_DATA& selected)
{
    TESSERA_PANEL_DATA data = selected;
    copyToField(data.szName, sizeof data.szName, cutUtf8(form.name, kMaxFormNameLength));
    data.nInterface = form.interface;
    data.dwIPAddress = form.ipAddress;
    data.nDataPort = form.dataPort;
    copyToField(data.szMACAddress, sizeof data.szMACAddress, form.macAddress);
    data.nComPort = form.comPort;
    data.nMonitorID = form.monitorId;
    data.nBaudRate = form.baudRate;
    copyToField(data.szModel, sizeof data.szModel, modelNameAsStored(form.model));
    copyToField(data.szSerialNo, sizeof data.szSerialNo, form.serialNo);
    data.nModelFlags = (selected.nModelFlags & ~1) | (form.expansionBoard ? 1 : 0);
    data.bUse = form.use ? 1 : 0;
    data.bMonitoring = form.monitoring ? 1 : 0;
    copyToField(data.szUserName, sizeof data.szUserName, form.userName);
    copyToField(data.szPassword, sizeof data.szPassword, form.password);
    return data;
}

bool setLogin(MonitorForm& form, std::string_view userName, std::string_view password)
{
    if (userName.size() > kMaxLoginLength || password.size() > kMaxLoginLength)
        return false;
    form.userName = userName;
    form.password = password;
    form.changed = true;
    return true;
}

void setUse(MonitorForm& form, bool use)
{
    form.use = use;
    form.changed = true;
}

bool setModel(MonitorForm& form, std::string_view shownModel)
{
    form.model = shownModel;
    form.serialNo.clear();
    form.changed = true;
    return form.model == kZrShownName;
}

void showMonitorInformation(MonitorForm& form, const TESSERA_PANEL_DATA& read)
{
    form.model = modelNameAsShown(read.szModel);
    form.serialNo = read.szSerialNo;
    form.macAddress = read.szMACAddress;
    form.expansionBoard = (read.nModelFlags & 1) != 0;
    form.changed = true;
}

} // namespace lumivane
