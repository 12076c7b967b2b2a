#include "PasswordFile.h"

#include "DataFolder.h"
#include "Settings.h"
#include "SharedFile.h"
#include "TextScramble.h"

namespace lumivane {

const std::string& Passwords::of(Authority authority) const
{
    static const std::string kNone;
    const int index = static_cast<int>(authority) - 1;
    return index >= 0 && index < 3 ? byRole[static_cast<size_t>(index)] : kNone;
}

bool Passwords::allEmpty() const
{
    return byRole[0].empty() && byRole[1].empty() && byRole[2].empty();
}

Passwords Passwords::parse(std::string_view content)
{
    Passwords passwords;
    for (std::string& password : passwords.byRole) {
        if (content.empty())
            break;
        const size_t feed = content.find('\n');
        std::string_view line = content.substr(0, feed);
        content.remove_prefix(feed == std::string_view::npos ? content.size() : feed + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        password = unscrambleText(line);
    }
    return passwords;
}

std::string Passwords::format() const
{
    std::string content;
    for (const std::string& password : byRole)
        content += scrambleText(password) + "\n";
    return content;
}

std::string passwordFilePath()
{
    return dataFilePath(kPasswordFileName);
}

std::optional<Passwords> readPasswordFile(const std::string& path, std::string* error)
{
    if (path.empty())
        return Passwords();
    std::string content;
    std::string reason;
    switch (readSharedFile(path, FileAccess::SharedRead, content, reason)) {
    case ReadResult::Ok:
        return Passwords::parse(content);
    case ReadResult::Missing:
        return Passwords();
    case ReadResult::Failed:
    case ReadResult::ReadError:
        break;
    }
    if (error)
        *error = reason;
    return std::nullopt;
}

bool savePasswords(const std::string& path, const Passwords& passwords)
{
    std::string error;
    return !path.empty() && writeSharedFile(path, passwords.format(), error);
}

Authority LoginRule::check(Authority chosen, std::string_view typed) const
{
    if (chosen < Authority::Administrator || chosen > Authority::RestrictedOperator)
        return Authority::None;
    return m_passwords.of(chosen) == typed ? chosen : Authority::None;
}

void rememberAuthority(Authority authority)
{
    writeOperatorSetting(settingKeys::kConfig, "Authority", static_cast<int>(authority));
    processSettings().operatorSettings.authority = static_cast<int>(authority);
}

} // namespace lumivane
