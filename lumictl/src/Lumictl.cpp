#include "Lumictl.h"

#include "CScheduleStore.h"
#include "CommandAvailability.h"
#include "CommandIo.h"
#include "CommandLine.h"
#include "CommandText.h"
#include "CommunicationRun.h"
#include "CtlText.h"
#include "InputSwitch.h"
#include "MailAddressList.h"
#include "MailCommands.h"
#include "ModelLookup.h"
#include "MonitorEditCommands.h"
#include "MonitorFileCommands.h"
#include "MonitorForm.h"
#include "MonitorSearch.h"
#include "PanelRegistry.h"
#include "SendMail.h"
#include "ScheduleCommands.h"
#include "Settings.h"
#include "SettingsCommands.h"
#include "StatusCommand.h"
#include "Strings.h"
#include "TargetSelection.h"
#include "TerminalObserver.h"
#include "TextEscape.h"
#include "WallCommands.h"
#include "Utf8.h"
#include "WindowMessage.h"
#include "traitbook.h"

#include <cstring>
#include <functional>
#include <map>

namespace lumivane::ctl {
namespace {

constexpr const char* kMainHelp =
    "usage: lumictl [options] <command> ...\n"
    "\n"
    "Commands:\n"
    "  models                         model names with kind and variant\n"
    "  monitors list [--json]         the registered monitors\n"
    "  monitors add ...               register a monitor (lumictl monitors add --help)\n"
    "  monitors remove MONITOR...     unregister monitors\n"
    "  monitors export|import FILE    move registered monitors and groups between installations\n"
    "  monitors info TARGET...        ask monitors for model, serial number and MAC address, and store them\n"
    "  monitors edit MONITOR ...      change a registered monitor (lumictl monitors --help)\n"
    "  groups list|add|remove         the groups (lumictl groups --help)\n"
    "  power on|off TARGET...         switch monitors on or off\n"
    "  input INPUT TARGET...          choose the input (index or name, lumictl input --help)\n"
    "  send COMMAND TARGET...         send a setting command (\"VOLM0010\")\n"
    "  query COMMAND TARGET...        ask a query (\"POWR????\") and print each monitor's reply\n"
    "  search [options]               find monitors on the LAN and COM ports (lumictl search --help)\n"
    "  settings save|load ...         monitor setting files (lumictl settings --help)\n"
    "  schedules ...                  schedules, their entries and monitors (lumictl schedules --help)\n"
    "  mail ...                       mail addresses, test mail, report times (lumictl mail --help)\n"
    "  monitoring show|set ...        periodical monitoring (lumictl monitoring --help)\n"
    "  wall make|show|send ...        video walls in enlarge setting files (lumictl wall --help)\n"
    "  status [TARGET...] [--json]    the monitors' state as the running server last wrote it\n"
    "\n"
    "A TARGET is a panel number, a monitor name (case ignored), --group NAME|NUMBER or --all.\n"
    "Options:\n"
    "  --on-error abort|skip-command|skip-monitor|retry:N   answer to communication errors\n"
    "                                 (default skip-monitor)\n"
    "  --parallel N                   power, input, send, query: monitors worked at once (default 16;\n"
    "                                 monitors of one COM port or LAN address one after another; 1: one\n"
    "                                 monitor at a time)\n"
    "  --help                         help on any level\n"
    "The data folder is $LUMIVANE_DATA_DIR when set.\n"
    "Exit status: 0 all succeeded, 1 something failed, 2 usage error or bad value; status: 3 no server is\n"
    "running, 4 the server has not written its state yet.\n";

constexpr const char* kMonitorsHelp =
    "usage: lumictl monitors list [--json]\n"
    "       lumictl monitors add [--name NAME] (--lan A.B.C.D[:PORT] | --com N [--baud RATE]) [--id N]\n"
    "                            [--model NAME] [--group GROUP] [--user U --password P]\n"
    "       lumictl monitors remove MONITOR...\n"
    "       lumictl monitors export FILE [MONITOR | --group GROUP]\n"
    "       lumictl monitors import FILE (--replace | --add)\n"
    "       lumictl monitors info TARGET...\n"
    "       lumictl monitors edit MONITOR [--name N] [--model M] [--lan A.B.C.D[:PORT] | --com N [--baud R]]\n"
    "                            [--id N] [--use yes|no] [--monitoring yes|no]\n"
    "                            [--user U --password P | --clear-login]\n"
    "Without --name a new monitor is named \"[nnn]\" after its panel number. PORT is 1025 to 65535\n"
    "(default 10008), N a COM port 1 to 256, RATE 9600, 19200 or 38400, the ID 0 (none) to 255; user\n"
    "name and password (LAN only) have at most 8 characters.\n"
    "An export (.mrf) holds everything, one monitor with the groups above it, or a group with the groups\n"
    "above it and all below it. An import replaces the registered monitors and groups or adds to them,\n"
    "numbering what it brings after what is there; Panels.bak and Groups.bak keep the files before.\n"
    "info asks each monitor for model, serial number, MAC address and expansion board and stores them.\n"
    "edit checks the result as the registration form does; nothing changes when a value is refused.\n";

constexpr const char* kGroupsHelp = "usage: lumictl groups list\n"
                                    "       lumictl groups add NAME [--parent GROUP]\n"
                                    "       lumictl groups remove GROUP   (its sub-groups and monitors go too)\n";

constexpr const char* kSearchHelp =
    "usage: lumictl search [--lan] [--com N] [--port P] [--baud RATE] [--daisy-chain] [--group GROUP]\n"
    "Without --lan and --com the LAN and COM1 to COM256 are searched. --port is the LAN search port\n"
    "(default: SearchPort of the settings, else 5006). Found monitors are added to GROUP (default: the\n"
    "root). With --daisy-chain every monitor of a chain is found and given an ID when needed.\n";

struct Context {
    const CommandLine& line;
    std::ostream& out;
    std::ostream& err;
    bool errIsTerminal;
    PanelRegistry registry;
};

using Handler = std::function<int(Context&, const std::vector<std::string>&)>;

std::string whereText(const TESSERA_PANEL_DATA& panel)
{
    std::string where = panel.nInterface == 1
                            ? "LAN " + ipv4Text(panel.dwIPAddress) + ":" + std::to_string(panel.nDataPort)
                            : "COM" + std::to_string(panel.nComPort) + " " + std::to_string(panel.nBaudRate) + " bps";
    if (panel.nMonitorID != 0)
        where += " ID" + std::to_string(panel.nMonitorID);
    return where;
}

// ---- models

int listModels(Context& context, const std::vector<std::string>&)
{
    context.line.allowOnly({});
    for (int32_t i = 0; const char* name = TraitModelName(i); ++i) {
        uint32_t code = 0;
        TraitLookup(name, &code);
        const std::string shown = isZrModelName(name) ? std::string("ZR-1190 (") + name + ")" : name;
        context.out << shown << "\tkind " << (code >> 16) << "\tvariant " << (code & 0xFF) << "\n";
    }
    return 0;
}

// ---- monitors

int listMonitors(Context& context, const std::vector<std::string>& words)
{
    context.line.allowOnly({"json"});
    if (!words.empty())
        throw UsageError{"'monitors list' takes no arguments"};
    const auto panels = context.registry.panels();
    std::map<int, std::string> groupNames;
    for (const TESSERA_GROUP_DATA& group : context.registry.groups())
        groupNames[group.nGroupNo] = group.szName;
    if (context.line.has("json")) {
        context.out << "[";
        for (size_t i = 0; i < panels.size(); ++i) {
            const TESSERA_PANEL_DATA& p = panels[i];
            context.out << (i ? ",\n " : "\n ") << "{\"number\": " << p.nPanelNo << ", \"name\": " << jsonText(p.szName)
                        << ", \"group\": " << p.nGroupNo << ", \"groupName\": " << jsonText(groupNames[p.nGroupNo])
                        << ", \"interface\": \"" << (p.nInterface == 1 ? "LAN" : "RS-232C") << "\""
                        << ", \"address\": " << jsonText(ipv4Text(p.dwIPAddress)) << ", \"dataPort\": " << p.nDataPort
                        << ", \"comPort\": " << p.nComPort << ", \"baudRate\": " << p.nBaudRate
                        << ", \"id\": " << p.nMonitorID << ", \"model\": " << jsonText(p.szModel)
                        << ", \"serialNo\": " << jsonText(p.szSerialNo) << ", \"mac\": " << jsonText(p.szMACAddress)
                        << ", \"use\": " << (p.bUse ? "true" : "false")
                        << ", \"monitoring\": " << (p.bMonitoring ? "true" : "false")
                        << ", \"schedule\": " << (p.bSchedule ? p.nScheduleNo : 0) << "}";
        }
        context.out << (panels.empty() ? "]\n" : "\n]\n");
        return 0;
    }
    for (const TESSERA_PANEL_DATA& p : panels) {
        const std::string group = p.nGroupNo != 0 && groupNames.count(p.nGroupNo) ? groupNames[p.nGroupNo] : "(Root)";
        context.out << p.nPanelNo << "\t" << p.szName << "\t" << group << "\t" << whereText(p) << "\t"
                    << (p.szModel[0] ? p.szModel : "-") << (p.bUse ? "" : "\t(not in use)") << "\n";
    }
    return 0;
}

// "A.B.C.D[:PORT]" into the record; throws UsageError for anything else.
void parseLanAddress(const std::string& text, TESSERA_PANEL_DATA& data)
{
    const LanEndpoint endpoint = parseLanEndpoint(text);
    data.dwIPAddress = endpoint.address;
    if (endpoint.port) {
        if (*endpoint.port < 1025 || *endpoint.port > 65535)
            throw UsageError{std::string(messageText(289)) + " (1025 to 65535: '" + std::to_string(*endpoint.port) +
                             "')"};
        data.nDataPort = *endpoint.port;
    }
}

int addMonitor(Context& context, const std::vector<std::string>& words)
{
    const CommandLine& line = context.line;
    line.allowOnly({"name", "lan", "com", "baud", "id", "model", "group", "user", "password"});
    if (!words.empty())
        throw UsageError{"unexpected '" + words.front() + "' (the name goes with --name)"};
    if (line.has("lan") == line.has("com"))
        throw UsageError{"give either --lan A.B.C.D[:PORT] or --com N"};
    TESSERA_PANEL_DATA data = PanelRegistry::newMonitorDefaults();
    if (const auto lan = line.value("lan")) {
        if (lan->empty())
            throw UsageError{"--lan needs an address A.B.C.D[:PORT]"};
        data.nInterface = 1;
        parseLanAddress(*lan, data);
        if (line.has("baud"))
            throw UsageError{"--baud applies to --com only"};
    } else {
        data.nComPort = parseNumber(*line.value("com"), 1, 256, "the COM port");
        if (const auto baud = line.value("baud")) {
            data.nBaudRate = parseNumber(*baud, 1, 115200, "the baud rate");
            if (data.nBaudRate != 9600 && data.nBaudRate != 19200 && data.nBaudRate != 38400)
                throw UsageError{"the baud rate must be 9600, 19200 or 38400, not '" + *baud + "'"};
        }
    }
    if (const auto id = line.value("id"))
        data.nMonitorID = parseNumber(*id, 0, 255, "the monitor ID");
    if (line.has("user") || line.has("password")) {
        if (data.nInterface != 1)
            throw UsageError{"--user and --password apply to LAN monitors only"};
        const std::string user = line.value("user").value_or("");
        const std::string password = line.value("password").value_or("");
        if (user.size() > 8 || password.size() > 8)
            throw UsageError{"user name and password have at most 8 characters"};
        copyToField(data.szUserName, sizeof data.szUserName, user);
        copyToField(data.szPassword, sizeof data.szPassword, password);
    }
    if (const auto model = line.value("model")) {
        const std::string stored = modelNameAsStored(*model);
        if (modelFromName(stored, 0).kind() == 0)
            throw UsageError{"unknown model '" + *model + "' (lumictl models lists them)"};
        copyToField(data.szModel, sizeof data.szModel, stored);
    }
    const int group = line.value("group") ? findGroup(context.registry, *line.value("group")) : 0;
    const auto panels = context.registry.panels();
    std::optional<std::string> name = line.value("name");
    if (name) {
        if (name->size() > 256)
            throw UsageError{"the name is longer than 256 characters"};
        int largest = 0;
        for (const TESSERA_PANEL_DATA& panel : panels)
            largest = std::max(largest, panel.nPanelNo);
        data.nPanelNo = largest + 1;
        if (const int refusal = validateMonitorName(*name, data, panels))
            throw UsageError{formatMessage(refusal, panelNumberPrefix(data.nPanelNo).c_str())};
    }
    const auto added = context.registry.addMonitor(data, group, name);
    if (!added) {
        context.err << "lumictl: cannot register the monitor: " << context.registry.lastError() << "\n";
        return 1;
    }
    tellServer(windowMessages::kPanelsChanged);
    context.out << added->nPanelNo << "\t" << added->szName << "\n";
    return 0;
}

int removeMonitors(Context& context, const std::vector<std::string>& words)
{
    context.line.allowOnly({});
    if (words.empty())
        throw UsageError{"name the monitors to remove"};
    const auto panels = context.registry.panels();
    std::vector<int> numbers;
    for (const std::string& word : words)
        numbers.push_back(findMonitor(panels, word).nPanelNo);
    if (!context.registry.removeMonitors(numbers)) {
        context.err << "lumictl: " << context.registry.lastError() << "\n";
        return 1;
    }
    tellServer(windowMessages::kPanelsChanged);
    return 0;
}

// ---- groups

int groupsCommand(Context& context, const std::vector<std::string>& words)
{
    if (words.empty())
        throw UsageError{"groups: list, add or remove?"};
    const std::string& action = words.front();
    const std::vector<std::string> rest(words.begin() + 1, words.end());
    PanelRegistry& registry = context.registry;
    if (action == "list") {
        context.line.allowOnly({});
        for (const TESSERA_GROUP_DATA& group : registry.groups())
            context.out << group.nGroupNo << "\t" << group.szName << "\t" << group.nParentNo << "\n";
        return 0;
    }
    if (action == "add") {
        context.line.allowOnly({"parent"});
        if (rest.size() != 1 || rest[0].empty())
            throw UsageError{messageText(292)};
        const int parent = context.line.value("parent") ? findGroup(registry, *context.line.value("parent")) : 0;
        if (parent != 0) {
            for (const TESSERA_GROUP_DATA& group : registry.groups())
                if (group.nGroupNo == parent && group.nParentNo != 0)
                    throw UsageError{messageText(167)};
        }
        const auto added = registry.addGroup(rest[0], parent);
        if (!added) {
            context.err << "lumictl: " << registry.lastError() << "\n";
            return 1;
        }
        tellServer(windowMessages::kPanelsChanged);
        context.out << added->nGroupNo << "\t" << added->szName << "\n";
        return 0;
    }
    if (action == "remove") {
        context.line.allowOnly({});
        if (rest.size() != 1)
            throw UsageError{"name one group to remove"};
        if (!registry.removeGroup(findGroup(registry, rest[0]))) {
            context.err << "lumictl: " << registry.lastError() << "\n";
            return 1;
        }
        tellServer(windowMessages::kPanelsChanged);
        return 0;
    }
    throw UsageError{"groups: unknown action '" + action + "'"};
}

// ---- runs

ErrorPolicy errorPolicy(const CommandLine& line)
{
    return line.value("on-error") ? ErrorPolicy::parse(*line.value("on-error")) : ErrorPolicy{};
}

constexpr int kDefaultParallel = 16;

// --parallel N: how many monitors are worked at once (monitors of one COM port or LAN address one after
// another); 1 is one run over the monitors in their order.
int parallelOption(const CommandLine& line)
{
    const std::optional<std::string> text = line.value("parallel");
    return text ? parseNumber(*text, 1, OperatorSettings::kMaxParallel, "--parallel") : kDefaultParallel;
}

// Each monitor's own copy of the items, for runs side by side.
std::vector<std::vector<CommandItem>> itemsPerMonitor(const std::vector<CommandItem>& items, size_t monitors)
{
    return std::vector<std::vector<CommandItem>>(monitors, items);
}

int runItems(Context& context, std::vector<CommandItem>& items, const std::vector<const TESSERA_PANEL_DATA*>& monitors)
{
    TerminalObserver observer(errorPolicy(context.line), context.err, context.errIsTerminal);
    observer.setTotals(static_cast<int>(monitors.size()), static_cast<int>(items.size()));
    const int parallel = parallelOption(context.line);
    if (parallel == 1 || monitors.size() < 2)
        return runCommandList(items, monitors, observer) ? 0 : 1;
    std::vector<std::vector<CommandItem>> perMonitor = itemsPerMonitor(items, monitors.size());
    const std::vector<bool> succeeded =
        runEachMonitor(perMonitor, monitors, observer, parallel, [&observer] { return observer.aborted(); });
    return std::find(succeeded.begin(), succeeded.end(), false) == succeeded.end() ? 0 : 1;
}

std::vector<const TESSERA_PANEL_DATA*> pointersTo(const std::vector<TESSERA_PANEL_DATA>& monitors)
{
    std::vector<const TESSERA_PANEL_DATA*> pointers;
    for (const TESSERA_PANEL_DATA& monitor : monitors)
        pointers.push_back(&monitor);
    return pointers;
}

CommandItem textItem(const std::string& text, CommandItemKind kind = CommandItemKind::SendText)
{
    CommandItem item{};
    item.kind = kind;
    copyToField(item.text, sizeof item.text, text);
    return item;
}

// A command text as lumictl accepts it: four upper-case letters or digits, then a parameter of printable
// characters; nothing that would end the line early.
std::string checkedCommand(const std::string& text, bool query)
{
    const bool codeOk = text.size() >= 5 && text.size() < kCommandTextSize &&
                        std::all_of(text.begin(), text.begin() + 4, [](char c) { return std::isupper(static_cast<unsigned char>(c)) || std::isdigit(static_cast<unsigned char>(c)); }) &&
                        std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7f; });
    if (!codeOk)
        throw UsageError{"'" + text + "' is not a command (four capital letters and a parameter, \"VOLM0010\")"};
    const bool looksLikeQuery = text.find('?') != std::string::npos;
    if (query && !looksLikeQuery)
        throw UsageError{"'" + text + "' is not a query (\"POWR????\")"};
    if (!query && looksLikeQuery)
        throw UsageError{"'" + text + "' is a query: use lumictl query"};
    return text;
}

int powerCommand(Context& context, const std::vector<std::string>& words)
{
    context.line.allowOnly({"group", "all", "parallel"});
    if (words.empty() || (words[0] != "on" && words[0] != "off"))
        throw UsageError{"power: on or off?"};
    const auto monitors = selectTargets(context.registry, context.line, {words.begin() + 1, words.end()});
    std::vector<CommandItem> items{textItem(settingCommand("POWR", words[0] == "on" ? 1 : 0))};
    return runItems(context, items, pointersTo(monitors));
}

int inputCommand(Context& context, const std::vector<std::string>& words)
{
    context.line.allowOnly({"group", "all", "parallel"});
    if (words.empty())
        throw UsageError{"input: which input?"};
    const InputModeIndex index = parseInput(words[0]);
    const auto monitors = selectTargets(context.registry, context.line, {words.begin() + 1, words.end()});
    for (const TESSERA_PANEL_DATA& monitor : monitors) {
        if (inputNumberFor(monitor.szModel, monitor.nModelFlags, index) == 0)
            throw UsageError{monitor.szName + std::string(" (") +
                             (monitor.szModel[0] ? monitor.szModel : "model unknown") + ") has no input '" +
                             inputModeName(index) + "'"};
    }
    std::vector<CommandItem> items{inputSwitchItem(&index)};
    return runItems(context, items, pointersTo(monitors));
}

// Whether the monitor's model takes `command`; says so on standard error when it does not (a run would
// pass over the command without a word).
bool supportedBy(Context& context, const TESSERA_PANEL_DATA& monitor, const std::string& command)
{
    if (isCommandAvailable(modelFromName(monitor.szModel, monitor.nModelFlags), command))
        return true;
    context.err << monitor.szName << ": not supported by " << monitor.szModel << "\n";
    return false;
}

int sendCommand(Context& context, const std::vector<std::string>& words)
{
    context.line.allowOnly({"group", "all", "parallel"});
    if (words.empty())
        throw UsageError{"send: which command?"};
    const std::string command = checkedCommand(words[0], false);
    const auto monitors = selectTargets(context.registry, context.line, {words.begin() + 1, words.end()});
    std::vector<const TESSERA_PANEL_DATA*> supporting;
    for (const TESSERA_PANEL_DATA& monitor : monitors) {
        if (supportedBy(context, monitor, command))
            supporting.push_back(&monitor);
    }
    std::vector<CommandItem> items{textItem(command)};
    const int status = runItems(context, items, supporting);
    return supporting.size() == monitors.size() ? status : 1;
}

// Each monitor's reply lands in its own buffer; the replies are printed in target order. An abort stops
// starting further monitors.
int queryCommandLine(Context& context, const std::vector<std::string>& words)
{
    context.line.allowOnly({"group", "all", "parallel"});
    if (words.empty())
        throw UsageError{"query: which query?"};
    const std::string command = checkedCommand(words[0], true);
    const auto monitors = selectTargets(context.registry, context.line, {words.begin() + 1, words.end()});
    const int parallel = parallelOption(context.line);
    int status = 0;
    std::vector<const TESSERA_PANEL_DATA*> asked;
    for (const TESSERA_PANEL_DATA& monitor : monitors) {
        if (supportedBy(context, monitor, command))
            asked.push_back(&monitor);
        else
            status = 1;
    }
    constexpr size_t kReplySize = 4096;
    std::vector<std::vector<char>> replies(asked.size(), std::vector<char>(kReplySize, '\0'));
    std::vector<std::vector<CommandItem>> items(asked.size());
    for (size_t i = 0; i < asked.size(); ++i) {
        CommandItem item = textItem(command, CommandItemKind::ReadText);
        item.data = replies[i].data();
        item.textLimit = kReplySize;
        items[i] = {item};
    }
    TerminalObserver observer(errorPolicy(context.line), context.err, context.errIsTerminal);
    observer.setTotals(static_cast<int>(asked.size()), 1);
    std::vector<bool> succeeded(asked.size(), false);
    if (parallel == 1) {
        for (size_t i = 0; i < asked.size() && !observer.aborted(); ++i)
            succeeded[i] = runCommandList(items[i], std::span(&asked[i], 1), observer);
    } else {
        succeeded = runEachMonitor(items, asked, observer, parallel, [&observer] { return observer.aborted(); });
    }
    for (size_t i = 0; i < asked.size(); ++i) {
        if (succeeded[i])
            context.out << escapeForTerminal(asked[i]->szName) << ": " << escapeForTerminal(replies[i].data()) << "\n";
        else
            status = 1;
    }
    return status;
}

// ---- search, schedules, mail

int searchCommand(Context& context, const std::vector<std::string>& words)
{
    const CommandLine& line = context.line;
    line.allowOnly({"lan", "com", "port", "baud", "daisy-chain", "group"});
    if (!words.empty())
        throw UsageError{"search takes options only"};
    SearchRequest request;
    if (line.has("lan") && !line.value("lan")->empty())
        throw UsageError{"--lan takes no value in search"};
    if (line.has("lan"))
        request.ports.push_back(0);
    for (const std::string& com : line.values("com"))
        request.ports.push_back(parseNumber(com, 1, 256, "the COM port"));
    if (request.ports.empty())
        request.ports = searchPortsFor(-1);
    const int configured = processSettings().operatorSettings.searchPort;
    request.searchPort = line.value("port") ? parseNumber(*line.value("port"), 1, 65535, "the search port")
                                            : (configured > 0 ? configured : 5006);
    if (const auto baud = line.value("baud")) {
        request.baudRate = parseNumber(*baud, 1, 115200, "the baud rate");
        if (request.baudRate != 9600 && request.baudRate != 19200 && request.baudRate != 38400)
            throw UsageError{"the baud rate must be 9600, 19200 or 38400, not '" + *baud + "'"};
    }
    request.daisyChain = line.has("daisy-chain");
    request.targetGroup = line.value("group") ? findGroup(context.registry, *line.value("group")) : 0;
    request.language = processSettings().environment.language;
    TerminalObserver observer(ErrorPolicy{}, context.err, context.errIsTerminal);
    const SearchResult result = searchMonitors(request, context.registry, observer);
    if (result.added > 0)
        tellServer(windowMessages::kPanelsChanged);
    if (!result.storeError.empty()) {
        context.err << "lumictl: a found monitor could not be registered (" << result.added
                    << " were): " << oneLine(result.storeError) << "\n";
        return 1;
    }
    if (result.added == 0)
        context.out << messageText(164) << "\n";
    else if (result.someUnusable)
        context.out << formatMessage(250, result.added) << "\n";
    else
        context.out << formatMessage(159, result.added) << "\n";
    return 0;
}

int monitorsCommand(Context& context, const std::vector<std::string>& words)
{
    if (words.empty())
        throw UsageError{"monitors: list, add, remove, export, import, info or edit?"};
    const std::vector<std::string> rest(words.begin() + 1, words.end());
    if (words[0] == "list")
        return listMonitors(context, rest);
    if (words[0] == "add")
        return addMonitor(context, rest);
    if (words[0] == "remove")
        return removeMonitors(context, rest);
    if (words[0] == "export")
        return exportMonitors(context.line, context.out, context.err, context.registry, rest);
    if (words[0] == "import")
        return importMonitors(context.line, context.out, context.err, context.registry, rest);
    if (words[0] == "info")
        return withIo<monitorInformation, Context>(context, rest);
    if (words[0] == "edit")
        return withIo<editMonitor, Context>(context, rest);
    throw UsageError{"monitors: unknown action '" + words[0] + "'"};
}

struct Subcommand {
    Handler handler;
    const char* help;
};

const std::map<std::string, Subcommand>& subcommands()
{
    static const std::map<std::string, Subcommand> table = {
        {"models", {listModels, "usage: lumictl models\n"}},
        {"monitors", {monitorsCommand, kMonitorsHelp}},
        {"groups", {groupsCommand, kGroupsHelp}},
        {"power", {powerCommand, "usage: lumictl power on|off TARGET...\n"}},
        {"input", {inputCommand, "usage: lumictl input INPUT TARGET...   (INPUT: an index such as 11 or a name "
                                 "such as \"PC HDMI\" or INPUT3)\n"}},
        {"send", {sendCommand, "usage: lumictl send COMMAND TARGET...   (COMMAND: \"VOLM0010\")\n"}},
        {"query", {queryCommandLine, "usage: lumictl query COMMAND TARGET...   (COMMAND: \"POWR????\"); prints "
                                     "\"name: reply\" per monitor\n"}},
        {"search", {searchCommand, kSearchHelp}},
        {"settings", {withIo<settingsCommand, Context>, kSettingsHelp}},
        {"schedules", {withIo<schedulesCommand, Context>, kSchedulesHelp}},
        {"mail", {withIo<mailCommand, Context>, kMailHelp}},
        {"monitoring", {withIo<monitoringCommand, Context>, kMonitoringHelp}},
        {"wall", {withIo<wallCommand, Context>, kWallHelp}},
        {"status", {withIo<statusCommand, Context>, kStatusHelp}},
    };
    return table;
}

} // namespace

int runLumictl(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err, bool errIsTerminal)
{
    try {
        const CommandLine line = CommandLine::parse(arguments);
        if (line.words().empty()) {
            (line.help() ? out : err) << kMainHelp;
            return line.help() ? 0 : 2;
        }
        const auto found = subcommands().find(line.words().front());
        if (found == subcommands().end())
            throw UsageError{"unknown command '" + line.words().front() + "' (lumictl --help)"};
        if (line.help()) {
            out << found->second.help;
            return 0;
        }
        if (line.value("on-error"))
            ErrorPolicy::parse(*line.value("on-error"));
        loadProcessSettings();
        Context context{line, out, err, errIsTerminal, PanelRegistry()};
        return found->second.handler(context, {line.words().begin() + 1, line.words().end()});
    } catch (const UsageError& error) {
        err << "lumictl: " << oneLine(error.message) << "\n";
        return 2;
    }
}

} // namespace lumivane::ctl
