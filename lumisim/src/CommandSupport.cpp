#include "CommandSupport.h"

#ifdef LUMISIM_WITH_AVAILABILITY
#include "CommandAvailability.h"
#include "ModelCode.h"
#include "traitbook.h"

#include <string>
#endif

namespace lumivane::sim {

CommandSupport everyCommandSupported()
{
    return [](std::string_view, bool, std::string_view) { return true; };
}

#ifdef LUMISIM_WITH_AVAILABILITY

namespace {
// The model code as the display control core makes it from a model name the database knows: kind and
// variant from the database, the no-expansion-board bit for kind 7. A name it does not know is kind 0.
ModelCode modelCodeOf(std::string_view model, bool expansionBoard)
{
    uint32_t code = 0;
    if (TraitLookup(std::string(model).c_str(), &code) == 0)
        return ModelCode();
    const ModelCode looked(code);
    if (looked.kind() == 7)
        return ModelCode::of(7, looked.variant(), !expansionBoard);
    return ModelCode::of(looked.kind(), looked.variant());
}
} // namespace

CommandSupport modelCommandSupport()
{
    return [](std::string_view model, bool expansionBoard, std::string_view command) {
        return isCommandAvailable(modelCodeOf(model, expansionBoard), command);
    };
}

#else

CommandSupport modelCommandSupport()
{
    return everyCommandSupported();
}

#endif

} // namespace lumivane::sim
