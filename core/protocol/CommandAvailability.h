#pragma once

#include "ModelCode.h"

#include <span>
#include <string_view>

namespace lumivane {

// Whether a monitor of `model` accepts `command` (its first four characters name it; the rest is the
// parameter some rules read). Unknown models (kind 0) accept everything, unknown codes are accepted by
// every model but kind 8.
//
// `itemText`, when given, is the text of the CommandItem about to be sent (at least 9 bytes): for the
// models that reset with "RSET0001", a reset there is rewritten to it. It may be the same buffer that
// `command` views.
bool isCommandAvailable(ModelCode model, std::string_view command, std::span<char> itemText = {});

} // namespace lumivane
