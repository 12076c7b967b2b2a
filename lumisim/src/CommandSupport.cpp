#include "CommandSupport.h"

#ifdef LUMISIM_WITH_AVAILABILITY
#include "CommandAvailability.h"
#include "ModelLookup.h"
#endif

namespace lumivane::sim {

CommandSupport everyCommandSupported()
{
    return [](std::string_view, bool, std::string_view) { return true; };
}

#ifdef LUMISIM_WITH_AVAILABILITY

CommandSupport modelCommandSupport()
{
    return [](std::string_view model, bool expansionBoard, std::string_view command) {
        return isCommandAvailable(modelFromName(model, expansionBoard ? 1 : 0), command);
    };
}

#else

CommandSupport modelCommandSupport()
{
    return everyCommandSupported();
}

#endif

} // namespace lumivane::sim
