#include "CommandSupport.h"

#ifdef LUMISIM_WITH_AVAILABILITY
#include "CommandAvailability.h"
#include "ModelLookup.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#endif

namespace lumivane::sim {

CommandSupport everyCommandSupported()
{
    return [](std::string_view, bool, std::string_view) { return true; };
}

#ifdef LUMISIM_WITH_AVAILABILITY

CommandSupport modelCommandSupport()
{
    // Model codes are looked up once per model name and board: an unknown name costs a read of the
    // alias file, which must not happen on every command.
    struct Cache
    {
        std::mutex mutex;
        std::map<std::pair<std::string, bool>, ModelCode, std::less<>> codes;
    };
    auto cache = std::make_shared<Cache>();
    return [cache](std::string_view model, bool expansionBoard, std::string_view command) {
        ModelCode code;
        {
            std::lock_guard lock(cache->mutex);
            auto key = std::make_pair(std::string(model), expansionBoard);
            auto found = cache->codes.find(key);
            if (found == cache->codes.end())
                found = cache->codes.emplace(std::move(key), modelFromName(model, expansionBoard ? 1 : 0)).first;
            code = found->second;
        }
        return isCommandAvailable(code, command);
    };
}

#else

CommandSupport modelCommandSupport()
{
    return everyCommandSupported();
}

#endif

} // namespace lumivane::sim
