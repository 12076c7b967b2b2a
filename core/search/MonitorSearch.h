#pragma once

#include "PanelRegistry.h"
#include "RunObserver.h"

#include <string>
#include <vector>

namespace lumivane {

struct SearchRequest {
    std::vector<int> ports;   // 0 stands for the LAN, n for COMn; LAN only in first place
    int searchPort = 5006;    // UDP port the LAN monitors answer on
    int baudRate = 9600;
    bool daisyChain = false;  // several IDs per port, assigned when needed
    int targetGroup = 0;      // where found monitors are added (0: the root)
    int language = 14;        // the Language setting: 6 stores MDEL 0 for models outside class D
};

struct SearchResult {
    int added = 0;
    bool someUnusable = false; // an added monitor had "Use this monitor" cleared
    std::string storeError;    // why a found monitor could not be added; the search ended there
};

// The port list of the search dialog's choice: -1 "(All)" is the LAN then COM1..COM256, 0 the LAN only,
// n the port COMn only.
std::vector<int> searchPortsFor(int choice);

// The IDs of a chain after assignment as they must be: 1 to 255, each once (so at most 255).
bool isChainIdList(const std::vector<int>& ids);

// Looks for monitors on the LAN and the COM ports and adds what it finds to the registry, one locked
// store write per monitor (a failing write ends the search). Reports progress to the observer: OuterRange with the
// number of steps, MonitorStep per step, CommandStep 0..20 within a step, Finished at the end. Link failures mean that
// nothing answers there and are not reported.
SearchResult searchMonitors(const SearchRequest& request, PanelRegistry& registry, RunObserver& observer);

} // namespace lumivane
