#pragma once

#include "Authority.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace lumivane {

// The passwords of the three roles, kept in "QVCtrlPwf" in the data folder as three scrambled lines:
// Administrator, Normal Operator, Restricted Operator. A missing file, a missing line or a line that is
// not a scrambled text counts as an empty password. Scrambled, not encrypted: the data folder's modes are
// what keep the file from anybody outside the operators' group.
struct Passwords
{
    std::array<std::string, 3> byRole; // index = authority - 1

    const std::string& of(Authority authority) const;
    bool allEmpty() const;

    static Passwords parse(std::string_view content);
    std::string format() const;
};

inline constexpr const char* kPasswordFileName = "QVCtrlPwf";
inline constexpr const char* kPasswordFileError = "Cannot open password file!";

std::string passwordFilePath(); // empty when the data folder is unknown
// The passwords in the file at `path`. No passwords when there is no file (or no path); nullopt, with
// `error` set, when a file is there but cannot be read (no permission, held too long, not a regular file):
// that is never taken for a file without passwords, which would let everybody in as Administrator and
// make a save wipe the passwords. Every log-in and the password setting go through this one rule.
std::optional<Passwords> readPasswordFile(const std::string& path, std::string* error = nullptr);
// Replaces the file whole; false (the old file kept) when it cannot be written.
bool savePasswords(const std::string& path, const Passwords& passwords);

// The log-in rule. A log-in dialog and the server's status window both go through it.
class LoginRule
{
public:
    explicit LoginRule(Passwords passwords) : m_passwords(std::move(passwords)) {}

    // With all three passwords empty, the log-in succeeds at once as Administrator.
    bool loginWithoutAsking() const { return m_passwords.allEmpty(); }
    // The role when `typed` equals its password exactly, else Authority::None.
    Authority check(Authority chosen, std::string_view typed) const;

private:
    Passwords m_passwords;
};

// Completes a successful log-in: writes [Config] Authority.
void rememberAuthority(Authority authority);

} // namespace lumivane
