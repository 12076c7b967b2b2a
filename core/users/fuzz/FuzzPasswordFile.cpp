// Any bytes as the password file: parsing must not crash, and what it gives must format and parse back
// to the same passwords.
#include "PasswordFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using lumivane::Passwords;
    const Passwords passwords = Passwords::parse(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string text = passwords.format();
    if (Passwords::parse(text).format() != text)
        std::abort();
    return 0;
}
