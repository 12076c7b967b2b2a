#include "Authority.h"

namespace lumivane {

uint16_t customizeMaskFromDialog(uint16_t oldMask, bool control, bool schedule, bool monitorControl)
{
    using namespace customizeBits;
    uint16_t mask = oldMask & static_cast<uint16_t>(~(kControl | kSchedule | kMonitorControl));
    if (control)
        mask |= kControl;
    else
        mask &= static_cast<uint16_t>(~kControlPages);
    if (schedule)
        mask |= kSchedule;
    if (monitorControl)
        mask |= kMonitorControl;
    return mask;
}

FunctionAccess functionAccessFor(Authority authority, uint16_t customizeMask, bool inputModeAvailable)
{
    FunctionAccess access;
    if (authority < Authority::Administrator || authority > Authority::RestrictedOperator)
        return FunctionAccess{true, false, false, false, false, false, 0}; // not logged in: nothing
    const bool normal = authority == Authority::NormalOperator;
    if (authority == Authority::RestrictedOperator || (normal && customizeMask == 0)) {
        access.restrictedLayout = true;
        access.inputSelection = normal || inputModeAvailable;
        access.monitorControl = access.schedule = false;
        access.mailMonitoringSetting = access.passwordSetting = false;
        access.operationMask = normal ? 0 : customizeBits::kAll;
        return access;
    }
    if (normal) {
        access.mailMonitoringSetting = access.passwordSetting = false;
        access.monitorControl = (customizeMask & customizeBits::kMonitorControl) != 0;
        access.schedule = (customizeMask & customizeBits::kSchedule) != 0;
        access.operationMask = customizeMask;
    }
    return access;
}

} // namespace lumivane
