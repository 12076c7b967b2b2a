#include "ModelUniformity.h"

#include "ModelLookup.h"

#include <strings.h>

namespace lumivane {
namespace {

bool sameName(const std::string& a, const std::string& b, bool ignoreCase)
{
    return ignoreCase ? ::strcasecmp(a.c_str(), b.c_str()) == 0 : a == b;
}

} // namespace

int modelUniformity(const std::vector<const PANEL_DATA*>& monitors, bool ignoreCase, std::string& model, int& flags)
{
    if (monitors.empty())
        return kNoMonitor;
    const PANEL_DATA& first = *monitors.front();
    model = first.szModel;
    flags = first.nModelFlags;
    const bool firstIsZr = modelFromName(first.szModel, first.nModelFlags).kind() == 6;

    constexpr int kOptsAccepted = 0x2; // says nothing about the model itself
    bool mixed = false;
    for (size_t i = 1; i < monitors.size(); ++i) {
        const PANEL_DATA& other = *monitors[i];
        if (!sameName(other.szModel, first.szModel, ignoreCase)) {
            if (sameName(other.szModel, "Brela", ignoreCase) || firstIsZr)
                return kMixedWithZr;
            mixed = true;
        } else if (((other.nModelFlags ^ first.nModelFlags) & ~kOptsAccepted) != 0) {
            mixed = true;
        }
    }
    if (!mixed)
        return kOneModel;
    return firstIsZr ? kMixedWithZr : kMixedModels;
}

} // namespace lumivane
