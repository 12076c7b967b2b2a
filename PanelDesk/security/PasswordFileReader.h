#pragma once

#include "PasswordFile.h"

#include <optional>

namespace lumivane {

// The password file as the security dialogs read it. A missing file holds no passwords; a file that is
// there but cannot be read (held too long by another program, no permission) gives nullopt, so that it
// is never taken for a file without passwords: that would let everybody in as Administrator, and a save
// would wipe the passwords.
std::optional<Passwords> readPasswordFile();

} // namespace lumivane
