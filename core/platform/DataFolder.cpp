#include "DataFolder.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <grp.h>
#include <limits.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace lumivane {
namespace {

constexpr const char* kOperatorGroup = "lumivane";

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool isFolder(const std::string& path)
{
    struct stat info{};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Creates every missing component of `path`; the last one gets `mode` (umask applies to the others).
bool createFolders(const std::string& path, mode_t mode)
{
    if (isFolder(path))
        return true;
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        const std::string parent = path.substr(0, slash);
        if (::mkdir(parent.c_str(), 0755) != 0 && errno != EEXIST)
            return false;
    }
    if (::mkdir(path.c_str(), mode) != 0 && errno != EEXIST)
        return false;
    ::chmod(path.c_str(), mode); // mkdir applies the umask and drops the setgid bit
    return isFolder(path);
}

// A default ACL user::rwx, group::rwx, other::r-x: new files in the folder stay writable by the
// operators' group whatever a program's umask is. Written in the kernel's extended-attribute form, so
// no ACL library is needed. Best effort: a file system without ACLs keeps plain modes.
void setGroupWritableDefaultAcl(const std::string& path)
{
    struct Entry {
        uint16_t tag;
        uint16_t permissions;
        uint32_t id;
    };
    struct Acl {
        uint32_t version;
        Entry entries[3];
    };
    const uint32_t undefinedId = UINT32_MAX;
    const Acl acl = {2, {{0x01, 7, undefinedId}, {0x04, 7, undefinedId}, {0x20, 5, undefinedId}}};
    ::setxattr(path.c_str(), "system.posix_acl_default", &acl, sizeof acl, 0);
}

bool createMachineFolder(const std::string& folder)
{
    if (!createFolders(folder, 02775))
        return false;
    if (const struct group* operators = ::getgrnam(kOperatorGroup))
        if (::chown(folder.c_str(), ::geteuid(), operators->gr_gid) == 0)
            ::chmod(folder.c_str(), 02775); // chown clears the setgid bit
    setGroupWritableDefaultAcl(folder);
    return true;
}

std::string userDataHome()
{
    std::string base = environment("XDG_DATA_HOME");
    if (!base.empty() && base[0] == '/')
        return base;
    std::string home = environment("HOME");
    if (home.empty())
        if (const struct passwd* user = ::getpwuid(::getuid()))
            home = user->pw_dir;
    return home.empty() ? std::string() : home + "/.local/share";
}

std::string chooseDataFolder(bool create, const DataFolderPlaces& places)
{
    const std::string fromEnvironment = environment("LUMIVANE_DATA_DIR");
    if (!fromEnvironment.empty()) {
        if (create && !createFolders(fromEnvironment, 0775))
            return {};
        return fromEnvironment;
    }
    if (isFolder(places.machineFolder))
        return places.machineFolder;
    if (places.mayCreateMachineFolder) {
        if (create && !createMachineFolder(places.machineFolder))
            return {};
        return places.machineFolder;
    }
    const std::string home = userDataHome();
    if (home.empty())
        return {};
    const std::string personal = home + "/Kairo/Lumivane";
    if (create && !createFolders(personal, 0700))
        return {};
    return personal;
}

} // namespace

std::string dataFolder(bool create)
{
    DataFolderPlaces places;
    places.mayCreateMachineFolder = ::geteuid() == 0;
    return dataFolder(create, places);
}

std::string dataFolder(bool create, const DataFolderPlaces& places)
{
    std::string folder = chooseDataFolder(create, places);
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    if (folder.size() >= kMaxPath)
        return {};
    return folder;
}

bool dataFolder(char* buffer, size_t size, bool create)
{
    if (buffer == nullptr || size < kMaxPath)
        return false;
    const std::string folder = dataFolder(create);
    if (folder.empty())
        return false;
    std::memcpy(buffer, folder.c_str(), folder.size() + 1);
    return true;
}

std::string dataFilePath(const std::string& fileName, bool create)
{
    const std::string folder = dataFolder(create);
    if (folder.empty())
        return {};
    std::string path = folder + "/" + fileName;
    return path.size() < kMaxPath ? path : std::string();
}

std::string programFolder()
{
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0)
        return ".";
    std::string path(buffer, static_cast<size_t>(length));
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
}

std::string runtimeFolder(bool create)
{
    std::string folder = environment("LUMIVANE_RUNTIME_DIR");
    if (folder.empty()) {
        const std::string data = dataFolder(create);
        if (data.empty())
            return {};
        folder = data + "/.run";
        if (create) {
            // Same owner, group and mode as the data folder, so that every operator shares the locks.
            struct stat parent{};
            if (::stat(data.c_str(), &parent) == 0 && !isFolder(folder)) {
                createFolders(folder, parent.st_mode & 07777);
                if (::chown(folder.c_str(), parent.st_uid, parent.st_gid) == 0)
                    ::chmod(folder.c_str(), parent.st_mode & 07777);
            }
        }
    } else if (create) {
        createFolders(folder, 0775);
    }
    return isFolder(folder) || !create ? folder : std::string();
}

bool makeGlobalName(const char* name, char* buffer, size_t size)
{
    static constexpr char kPrefix[] = "Global\\";
    const size_t length = std::strlen(name);
    if (buffer == nullptr || length + sizeof kPrefix > size)
        return false;
    std::memcpy(buffer, kPrefix, sizeof kPrefix - 1);
    std::memcpy(buffer + sizeof kPrefix - 1, name, length + 1);
    return true;
}

std::string makeGlobalName(const std::string& name)
{
    return "Global\\" + name;
}

} // namespace lumivane
