#include "MonitorSearch.h"

#include "CommandText.h"
#include "ModelClasses.h"
#include "ModelLookup.h"
#include "MonitorInformation.h"
#include "MonitorLink.h"
#include "ReplyReaders.h"
#include "Utf8.h"
#include "corvalink.h"

#include <algorithm>
#include <cstring>

namespace lumivane {
namespace {

constexpr int kSearchMode = 2;
constexpr int kSearchWait = 3;
constexpr int kIdListSize = 4096;

// One place to look: a LAN device or a COM port.
struct SearchStep {
    bool lan = false;
    uint32_t address = 0;
    uint32_t dataPort = 0;
    int comPort = 0;
};

std::string portText(const SearchStep& step)
{
    TESSERA_PANEL_DATA where{};
    where.nInterface = step.lan ? 1 : 0;
    where.dwIPAddress = step.address;
    where.nDataPort = static_cast<int32_t>(step.dataPort);
    where.nComPort = step.comPort;
    return monitorPortText(where);
}

std::vector<SearchStep> lanSteps(int searchPort)
{
    LINK_LAN_DEVICE* devices = nullptr;
    const int count = LinkFindLan("LAN", searchPort, &devices);
    std::vector<SearchStep> steps;
    for (int i = 0; i < count && devices; ++i)
        steps.push_back(SearchStep{true, devices[i].address, devices[i].dataPort, 0});
    LinkFreeLanList("LAN", devices);
    std::sort(steps.begin(), steps.end(), [](const SearchStep& a, const SearchStep& b) { return a.address < b.address; });
    return steps;
}

class Searcher
{
public:
    Searcher(const SearchRequest& request, PanelRegistry& registry, RunObserver& observer)
        : m_request(request), m_registry(registry), m_observer(observer)
    {
    }

    SearchResult run()
    {
        std::vector<SearchStep> steps;
        if (!m_request.ports.empty() && m_request.ports.front() == 0)
            steps = lanSteps(m_request.searchPort);
        // Every entry of the port list is a step, the LAN's (0) too: it stands for the devices before it.
        for (const int port : m_request.ports)
            steps.push_back(SearchStep{false, 0, 0, port});
        progress(RunProgress::OuterRange, static_cast<int>(steps.size()));
        for (size_t i = 0; i < steps.size() && m_result.storeError.empty(); ++i) {
            progress(RunProgress::MonitorStep, static_cast<int>(i + 1));
            if (steps[i].lan || steps[i].comPort != 0)
                searchStep(steps[i]);
        }
        progress(RunProgress::Finished, 0);
        return m_result;
    }

private:
    void progress(RunProgress what, int value) { m_observer.onProgress(what, value); }

    uint32_t flags(int id) const { return LINK_FLAGS(id, kSearchMode, kSearchWait, linkBaudCode(m_request.baudRate)); }

    TESSERA_PANEL_DATA newMonitor(const SearchStep& step, const std::string& model, int id) const
    {
        TESSERA_PANEL_DATA data = PanelRegistry::newMonitorDefaults();
        if (step.lan) {
            data.nInterface = 1;
            data.dwIPAddress = step.address;
            data.nDataPort = static_cast<int32_t>(step.dataPort);
        } else {
            data.nInterface = 0;
            data.nComPort = step.comPort;
        }
        data.nBaudRate = m_request.baudRate;
        data.nMonitorID = id;
        copyToField(data.szModel, sizeof data.szModel, model);
        return data;
    }

    // A monitor the store does not take ends the search: the store will take no other either.
    void add(const TESSERA_PANEL_DATA& data)
    {
        if (!m_result.storeError.empty())
            return;
        if (!m_registry.addFoundMonitor(data, m_request.targetGroup)) {
            m_result.storeError = m_registry.lastError();
            if (m_result.storeError.empty())
                m_result.storeError = "the monitor list could not be written";
            return;
        }
        ++m_result.added;
        m_result.someUnusable = m_result.someUnusable || !data.bUse;
    }

    void searchStep(const SearchStep& step)
    {
        const std::string port = portText(step);
        LinkHandle link = LinkOpen(port.c_str(), flags(0));
        if (!link)
            return;
        progress(RunProgress::CommandStep, 0);
        char power[100] = {};
        char model[100] = {};
        if (LinkGetText(link, "Command:POWR????", power, sizeof power) != 0 ||
            LinkGetText(link, "Command:INF1????", model, sizeof model) != 0) {
            LinkClose(link);
            return;
        }
        const ModelCode code = modelFromName(model, 0);
        std::vector<int> ids;
        bool chainRead = false;
        if (m_request.daisyChain && code.kind() != 100 && code.kind() != 6) {
            std::vector<char> list(kIdListSize, '\0');
            if (LinkReadIdList(link, list.data(), 0, 0, 0) != 0) {
                LinkClose(link);
                return;
            }
            ids = idsOf(list.data());
            if (ids.size() > 1) {
                // After assignment every monitor of the chain has an ID of its own; a chain that still
                // lists a repeat or an impossible ID is not searched further.
                if (LinkAssignIds(link, list.data(), 0, 0, 0) != 0 || !isChainIdList(ids = idsOf(list.data()))) {
                    LinkClose(link);
                    return;
                }
            }
            chainRead = true;
        }
        if (code.kind() == 6) {
            LinkSet(link, "command", "RSPW0001", 0, 0, 0);
            LinkClose(link);
            add(newMonitor(step, model, 0));
            progress(RunProgress::CommandStep, 20);
            return;
        }
        LinkClose(link);
        if (code.kind() == 100)
            return;
        progress(RunProgress::CommandStep, 10);
        if (!chainRead || ids.size() == 1)
            ids = {0};
        for (size_t i = 0; i < ids.size(); ++i) {
            if (ids[i] < 0 || ids[i] > 255 || (chainRead && ids.size() > 1 && ids[i] == 0))
                continue;
            add(inspect(step, ids[i]));
            progress(RunProgress::CommandStep, 10 + static_cast<int>(10 * i / ids.size()));
        }
        progress(RunProgress::CommandStep, 20);
    }

    static std::vector<int> idsOf(const char* list)
    {
        std::vector<int> ids;
        const std::string_view text(list);
        for (size_t position = 0; position < text.size();) {
            const std::optional<int> id = readListNumber(text, position);
            if (!id)
                break;
            ids.push_back(*id);
        }
        return ids;
    }

    // Opens the monitor with `id` and reads what registration needs. The monitor is added whatever
    // answers; one that cannot be used has "Use this monitor" cleared.
    TESSERA_PANEL_DATA inspect(const SearchStep& step, int id)
    {
        TESSERA_PANEL_DATA data = newMonitor(step, "", id);
        LinkHandle link = LinkOpen(portText(step).c_str(), flags(id));
        if (!link)
            return data;
        bool failed = false;
        char model[256] = {};
        const int32_t modelStatus = LinkGetText(link, "Command:INF1????", model, sizeof model);
        if (modelStatus == LINK_WRONG_INTERFACE)
            data.bUse = 0;
        failed = modelStatus != 0;
        if (modelStatus == 0) {
            copyToField(data.szModel, sizeof data.szModel, model);
            failed = !readModelDetails(link, data);
        }
        if (step.lan && (id == 0 || id == 1) && !failed) {
            char mac[100] = {};
            if (LinkGetText(link, "Command:MACA????", mac, sizeof mac) == 0)
                copyToField(data.szMACAddress, sizeof data.szMACAddress, formatMacAddress(mac));
        }
        LinkClose(link);
        return data;
    }

    // OPTB, OPTS, MDEL and SRNO of a monitor whose model is known; false when a query failed.
    bool readModelDetails(LinkHandle link, TESSERA_PANEL_DATA& data)
    {
        const ModelCode code = modelFromName(data.szModel, data.nModelFlags);
        bool kindIn3To8 = false;
        if (isKnownModel(code, &kindIn3To8) && !kindIn3To8)
            data.bUse = 0;
        bool ok = readExpansionBoard(link, code, data.nModelFlags) == 0;
        confirmOptionSetting(link, code, data.nModelFlags);
        ok = readMdelValue(link, code, m_request.language, data.nMdelValue) == 0 && ok;
        char serial[100] = {};
        const int32_t serialStatus = LinkGetText(link, "Command:SRNO????", serial, sizeof serial);
        if (serialStatus == 0)
            copyToField(data.szSerialNo, sizeof data.szSerialNo, serial);
        else if (serialStatus == LINK_WRONG_INTERFACE)
            data.bUse = 0;
        return ok && serialStatus == 0;
    }

    const SearchRequest& m_request;
    PanelRegistry& m_registry;
    RunObserver& m_observer;
    SearchResult m_result;
};

} // namespace

bool isChainIdList(const std::vector<int>& ids)
{
    std::vector<bool> seen(256, false);
    for (const int id : ids) {
        if (id < 1 || id > 255 || seen[static_cast<size_t>(id)])
            return false;
        seen[static_cast<size_t>(id)] = true;
    }
    return true;
}

std::vector<int> searchPortsFor(int choice)
{
    if (choice > 0)
        return {choice};
    std::vector<int> ports{0};
    if (choice < 0)
        for (int port = 1; port <= 256; ++port)
            ports.push_back(port);
    return ports;
}

SearchResult searchMonitors(const SearchRequest& request, PanelRegistry& registry, RunObserver& observer)
{
    return Searcher(request, registry, observer).run();
}

} // namespace lumivane
