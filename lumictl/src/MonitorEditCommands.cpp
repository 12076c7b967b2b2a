#include "MonitorEditCommands.h"

#include "CommunicationRun.h"
#include "CtlText.h"
#include "ModelLookup.h"
#include "MonitorForm.h"
#include "MonitorInformation.h"
#include "Settings.h"
#include "TargetSelection.h"
#include "TerminalObserver.h"
#include "TextEscape.h"
#include "WindowMessage.h"

#include <algorithm>

namespace lumivane::ctl {
namespace {

std::string shownOrDash(const std::string& text)
{
    return text.empty() ? "-" : escapeForTerminal(text);
}

// "number, name, model, serial number, MAC address, expansion board" as one tab-separated line; the board
// only for the models that can have one.
std::string informationLine(const TESSERA_PANEL_DATA& monitor)
{
    const bool boardModel = modelFromName(monitor.szModel, monitor.nModelFlags).kind() == 7;
    return std::to_string(monitor.nPanelNo) + "\t" + escapeForTerminal(monitor.szName) + "\t" +
           shownOrDash(modelNameAsShown(monitor.szModel)) + "\t" + shownOrDash(monitor.szSerialNo) + "\t" +
           shownOrDash(monitor.szMACAddress) + "\t" +
           (boardModel ? ((monitor.nModelFlags & 1) ? "expansion board" : "no expansion board") : "-");
}

std::string storeProblem(StoreChange outcome, const PanelRegistry& registry)
{
    return outcome == StoreChange::Missing ? "the monitor is no longer registered" : oneLine(registry.lastError());
}

// The model as the form takes it: a name the model list knows, "ZR-1190" for the stored "Brela".
std::string checkedModel(const std::string& given)
{
    const std::string stored = modelNameAsStored(given);
    if (modelFromName(stored, 0).kind() == 0)
        throw UsageError{"unknown model '" + given + "' (lumictl models lists them)"};
    return modelNameAsShown(stored);
}

int checkedBaudRate(const std::string& text)
{
    const int rate = parseNumber(text, 1, 115200, "the baud rate");
    const std::vector<int> rates = baudRateChoices();
    if (std::find(rates.begin(), rates.end(), rate) == rates.end())
        throw UsageError{"the baud rate must be 9600, 19200 or 38400, not '" + text + "'"};
    return rate;
}

void applyInterface(const CommandLine& line, MonitorForm& form)
{
    if (line.has("lan") && line.has("com"))
        throw UsageError{"give either --lan A.B.C.D[:PORT] or --com N"};
    if (const auto lan = line.value("lan")) {
        if (lan->empty())
            throw UsageError{"--lan needs an address A.B.C.D[:PORT]"};
        const LanEndpoint endpoint = parseLanEndpoint(*lan);
        form.interface = kLanInterface;
        form.ipAddress = endpoint.address;
        if (endpoint.port)
            form.dataPort = *endpoint.port; // the form's check refuses a port out of range
        form.changed = true;
    }
    if (const auto com = line.value("com")) {
        form.interface = kRs232cInterface;
        form.comPort = parseNumber(*com, 1, kHighestComPort, "the COM port");
        form.changed = true;
    }
    if (const auto baud = line.value("baud")) {
        if (form.interface != kRs232cInterface)
            throw UsageError{"--baud applies to RS-232C monitors only"};
        form.baudRate = checkedBaudRate(*baud);
        form.changed = true;
    }
}

void applyLogin(const CommandLine& line, MonitorForm& form)
{
    const bool login = line.has("user") || line.has("password");
    if (login && line.has("clear-login"))
        throw UsageError{"give either --user and --password or --clear-login"};
    if (line.has("clear-login"))
        setLogin(form, "", "");
    if (!login)
        return;
    if (form.interface != kLanInterface)
        throw UsageError{"--user and --password apply to LAN monitors only"};
    // One of the two alone keeps the other, as the password dialog shows both.
    if (!setLogin(form, line.value("user").value_or(form.userName), line.value("password").value_or(form.password)))
        throw UsageError{"user name and password have at most 8 characters"};
}

// The options into the form, as the operator would edit its controls; UsageError for a malformed value.
// True when the ZR-1190 was chosen as the new model.
bool applyOptions(const CommandLine& line, MonitorForm& form)
{
    bool zrChosen = false;
    if (const auto name = line.value("name")) {
        if (name->size() > kMaxFormNameLength)
            throw UsageError{"the name is longer than 256 characters"};
        form.name = *name;
        form.changed = true;
    }
    if (const auto model = line.value("model")) {
        const std::string shown = checkedModel(*model);
        // The same model again is no new model: the serial number stays.
        zrChosen = shown != form.model && setModel(form, shown);
        form.changed = true;
    }
    applyInterface(line, form);
    if (const auto id = line.value("id")) {
        form.monitorId = parseNumber(*id, 0, kHighestMonitorId, "the monitor ID");
        form.changed = true;
    }
    if (const auto use = line.value("use"))
        setUse(form, parseYesNo(*use, "--use"));
    if (const auto monitoring = line.value("monitoring")) {
        if (!form.use)
            throw UsageError{"\"Monitoring target\" applies only to a monitor in use (--use yes)"};
        form.monitoring = parseYesNo(*monitoring, "--monitoring");
        form.changed = true;
    }
    applyLogin(line, form);
    return zrChosen;
}

} // namespace

int monitorInformation(const CommandIo& io, const std::vector<std::string>& words)
{
    io.line.allowOnly({"group", "all"});
    const std::vector<TESSERA_PANEL_DATA> monitors = selectTargets(io.registry, io.line, words);
    const ErrorPolicy policy =
        io.line.value("on-error") ? ErrorPolicy::parse(*io.line.value("on-error")) : ErrorPolicy{};
    TerminalObserver observer(policy, io.err, io.errIsTerminal);
    observer.setTotals(static_cast<int>(monitors.size()), 1);
    int status = 0;
    bool stored = false;
    // One run per monitor: each fills its own record, and a monitor that fails keeps what it had.
    for (const TESSERA_PANEL_DATA& monitor : monitors) {
        MonitorInformation information{monitor, processSettings().environment.language};
        std::vector<CommandItem> items{monitorInformationItem(&information)};
        const TESSERA_PANEL_DATA* one[] = {&monitor};
        if (!runCommandList(items, one, observer)) {
            status = 1;
            if (observer.aborted())
                break;
            continue;
        }
        TESSERA_PANEL_DATA result{};
        const StoreChange outcome = io.registry.changeMonitor(monitor.nPanelNo, [&](TESSERA_PANEL_DATA& registered) {
            takeMonitorInformation(registered, information.monitor);
            result = registered;
        });
        if (outcome != StoreChange::Done) {
            io.err << "lumictl: " << escapeForTerminal(monitor.szName)
                   << ": what the monitor reported could not be stored: " << storeProblem(outcome, io.registry) << "\n";
            status = 1;
            continue;
        }
        stored = true;
        io.out << informationLine(result) << "\n";
    }
    if (stored)
        tellServer(windowMessages::kPanelsChanged);
    return status;
}

int editMonitor(const CommandIo& io, const std::vector<std::string>& words)
{
    io.line.allowOnly(
        {"name", "model", "lan", "com", "baud", "id", "use", "monitoring", "user", "password", "clear-login"});
    if (words.size() != 1)
        throw UsageError{"name one monitor to edit (lumictl monitors --help)"};
    const std::vector<TESSERA_PANEL_DATA> panels = io.registry.panels();
    const TESSERA_PANEL_DATA selected = findMonitor(panels, words[0]);
    MonitorForm form = formForMonitor(selected);
    const bool zrChosen = applyOptions(io.line, form);
    if (!form.changed)
        throw UsageError{"nothing to change (lumictl monitors --help lists the options)"};
    if (const FormVerdict verdict = checkForm(form, selected, panels); !verdict.valid())
        throw UsageError{verdict.text};
    const StoreChange outcome = io.registry.changeMonitor(
        selected.nPanelNo, [&](TESSERA_PANEL_DATA& registered) { registered = monitorFromForm(form, registered); });
    if (outcome != StoreChange::Done) {
        io.err << "lumictl: the monitor could not be changed: " << storeProblem(outcome, io.registry) << "\n";
        return 1;
    }
    tellServer(windowMessages::kPanelsChanged);
    io.out << selected.nPanelNo << "\t" << escapeForTerminal(form.name) << "\n";
    if (zrChosen)
        io.out << "note: a ZR-1190 takes the power-on command only after 'lumictl send " << kEnablePowerOnCommand << " "
               << selected.nPanelNo << "'\n";
    return 0;
}

} // namespace lumivane::ctl
