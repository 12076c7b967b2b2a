#include "PasswordFileReader.h"

#include "SharedFile.h"

namespace lumivane {

std::optional<Passwords> readPasswordFile()
{
    const std::string path = passwordFilePath();
    if (path.empty())
        return Passwords();
    std::string content;
    std::string error;
    switch (readSharedFile(path, FileAccess::SharedRead, content, error)) {
    case ReadResult::Ok:
        return Passwords::parse(content);
    case ReadResult::Missing:
        return Passwords();
    case ReadResult::Failed:
        break;
    }
    return std::nullopt;
}

} // namespace lumivane
