#include "DataFolder.h"

#include "SharedFile.h"
#include "UniqueFd.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <limits.h>
#include <mutex>
#include <optional>
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
    struct stat info
    {
    };
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

// A default ACL user::rwx, group::rwx, other::---: new files in the folder stay writable by the operators'
// group whatever a program's umask is, and closed to everybody else. Written in the kernel's
// extended-attribute form, so no ACL library is needed. Best effort: a file system without ACLs keeps
// plain modes.
void setGroupOnlyDefaultAcl(int folder)
{
    struct Entry
    {
        uint16_t tag;
        uint16_t permissions;
        uint32_t id;
    };
    struct Acl
    {
        uint32_t version;
        Entry entries[3];
    };
    const uint32_t undefinedId = UINT32_MAX;
    const Acl acl = {2, {{0x01, 7, undefinedId}, {0x04, 7, undefinedId}, {0x20, 0, undefinedId}}};
    ::fsetxattr(folder, "system.posix_acl_default", &acl, sizeof acl, 0);
}

// Creates every missing component of `path`. The components above the last are the installation's
// (created 0755 when missing); the last one is created and opened without following a link in its place
// and gets `mode` (and `group`, unless -1) on its descriptor. Returns the open folder, or -1.
int createFolders(const std::string& path, mode_t mode, gid_t group = static_cast<gid_t>(-1))
{
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        const std::string parent = path.substr(0, slash);
        if (::mkdir(parent.c_str(), 0755) != 0 && errno != EEXIST)
            return -1;
    }
    const bool created = ::mkdir(path.c_str(), 0700) == 0;
    if (!created && errno != EEXIST)
        return -1;
    const int fd = ::open(path.c_str(), kFolderFlags | O_NOFOLLOW);
    if (fd < 0 || !created)
        return fd;
    if (group != static_cast<gid_t>(-1))
        ::fchown(fd, static_cast<uid_t>(-1), group);
    ::fchmod(fd, mode); // after fchown, which clears the setgid bit
    return fd;
}

bool createMachineFolder(const std::string& folder)
{
    const struct group* operators = ::getgrnam(kOperatorGroup);
    const UniqueFd fd(createFolders(folder, 02770, operators ? operators->gr_gid : static_cast<gid_t>(-1)));
    if (fd.get() < 0)
        return false;
    struct stat info
    {
    };
    if (::fstat(fd.get(), &info) == 0 && info.st_uid == ::geteuid()) {
        if (operators && info.st_gid != operators->gr_gid)
            ::fchown(fd.get(), static_cast<uid_t>(-1), operators->gr_gid);
        ::fchmod(fd.get(), 02770);
        setGroupOnlyDefaultAcl(fd.get());
    }
    return true;
}

bool createPlainFolder(const std::string& path, mode_t mode)
{
    const UniqueFd fd(createFolders(path, mode));
    return fd.get() >= 0;
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

// Where the folder is and how it is made when missing.
struct Choice
{
    enum Kind
    {
        Unknown,
        Environment,
        Machine,
        Personal
    } kind = Unknown;
    std::string folder;
};

Choice chooseDataFolder(const DataFolderPlaces& places)
{
    Choice choice;
    if (const std::string fromEnvironment = environment("LUMIVANE_DATA_DIR"); !fromEnvironment.empty())
        choice = {Choice::Environment, fromEnvironment};
    else if (isFolder(places.machineFolder) || places.mayCreateMachineFolder)
        choice = {Choice::Machine, places.machineFolder};
    else if (const std::string home = userDataHome(); !home.empty())
        choice = {Choice::Personal, home + "/Kairo/Lumivane"};
    while (choice.folder.size() > 1 && choice.folder.back() == '/')
        choice.folder.pop_back();
    if (choice.folder.size() >= kMaxPath)
        choice = {};
    return choice;
}

bool createChosenFolder(const Choice& choice)
{
    if (isFolder(choice.folder))
        return true;
    switch (choice.kind) {
    case Choice::Environment:
        return createPlainFolder(choice.folder, 0770);
    case Choice::Machine:
        return createMachineFolder(choice.folder);
    case Choice::Personal:
        return createPlainFolder(choice.folder, 0700);
    case Choice::Unknown:
        break;
    }
    return false;
}

std::string folderOf(const Choice& choice, bool create)
{
    return create && !createChosenFolder(choice) ? std::string() : choice.folder;
}

std::mutex g_chosenLock;
std::optional<Choice> g_chosen; // the folder this process works with, once worked out

bool isBelow(const std::string& path, const std::string& folder)
{
    return !folder.empty() && path.compare(0, folder.size(), folder) == 0 &&
           (path.size() == folder.size() || path[folder.size()] == '/');
}

Choice processChoice()
{
    const std::lock_guard lock(g_chosenLock);
    if (!g_chosen) {
        DataFolderPlaces places;
        places.mayCreateMachineFolder = ::geteuid() == 0;
        g_chosen = chooseDataFolder(places);
    }
    return *g_chosen;
}

} // namespace

std::string dataFolder(bool create)
{
    return folderOf(processChoice(), create);
}

void forgetDataFolder()
{
    const std::lock_guard lock(g_chosenLock);
    g_chosen.reset();
}

std::string dataFolder(bool create, const DataFolderPlaces& places)
{
    return folderOf(chooseDataFolder(places), create);
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

std::string programFilesFolder()
{
    std::string configured = environment("LUMIVANE_PROGRAM_DIR");
    while (configured.size() > 1 && configured.back() == '/')
        configured.pop_back();
    if (!configured.empty())
        return configured;
    const std::string folder = programFolder();
    struct stat info{};
    if (::stat((folder + "/ModelName.txt").c_str(), &info) == 0)
        return folder;
    const size_t slash = folder.rfind('/');
    const std::string installed = (slash == std::string::npos ? std::string(".") : folder.substr(0, slash)) +
                                  "/share/lumivane";
    return ::stat(installed.c_str(), &info) == 0 && S_ISDIR(info.st_mode) ? installed : folder;
}

std::string runtimeFolder(bool create)
{
    std::string folder = environment("LUMIVANE_RUNTIME_DIR");
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    const std::string data = dataFolder(create);
    if (folder.empty()) {
        if (data.empty())
            return {};
        folder = data + "/.run";
    }
    if (!create)
        return folder;
    // Inside the data folder it gets the data folder's owner, group and mode, so that every operator
    // shares the locks, and a link planted in its place is refused.
    std::string error;
    const size_t slash = folder.rfind('/');
    if (slash != std::string::npos && slash > 0 && folder.substr(0, slash) == processChoice().folder)
        return ensureSubfolder(folder.substr(0, slash), folder.substr(slash + 1), error) ? folder : std::string();
    return createPlainFolder(folder, 0770) && isFolder(folder) ? folder : std::string();
}

int openFolder(const std::string& path)
{
    const std::string data = processChoice().folder;
    if (!isBelow(path, data))
        return ::open(path.c_str(), kFolderFlags);
    int fd = ::open(data.c_str(), kFolderFlags);
    size_t start = data.size();
    while (fd >= 0 && start < path.size()) {
        const size_t end = std::min(path.find('/', start + 1), path.size());
        const std::string name = path.substr(start + 1, end - start - 1);
        start = end;
        if (name.empty() || name == ".")
            continue;
        const int next = name == ".." ? (errno = EINVAL, -1) : ::openat(fd, name.c_str(), kFolderFlags | O_NOFOLLOW);
        const int savedErrno = errno;
        ::close(fd);
        fd = next;
        errno = savedErrno;
    }
    return fd;
}

bool ensureSubfolder(const std::string& parent, const std::string& name, std::string& error)
{
    const UniqueFd parentFd(openFolder(parent));
    struct stat parentInfo
    {
    };
    if (parentFd.get() < 0 || ::fstat(parentFd.get(), &parentInfo) != 0) {
        error = systemErrorText(errno) + " - " + parent;
        return false;
    }
    const std::string path = parent + "/" + name;
    if (::mkdirat(parentFd.get(), name.c_str(), 0700) != 0 && errno != EEXIST) {
        error = systemErrorText(errno) + " - " + path;
        return false;
    }
    const UniqueFd fd(::openat(parentFd.get(), name.c_str(), kFolderFlags | O_NOFOLLOW));
    struct stat info
    {
    };
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0) {
        const bool notFolder = errno == ELOOP || errno == ENOTDIR;
        error =
            (notFolder ? std::string("Not a folder (a link or a file stands in its place)") : systemErrorText(errno)) +
            " - " + path;
        return false;
    }
    const uid_t self = ::geteuid();
    if (info.st_uid != self && info.st_uid != parentInfo.st_uid && info.st_gid != parentInfo.st_gid) {
        error = "The folder belongs to another account - " + path;
        return false;
    }
    if (self == 0 && (info.st_uid != parentInfo.st_uid || info.st_gid != parentInfo.st_gid))
        ::fchown(fd.get(), parentInfo.st_uid, parentInfo.st_gid);
    else if (info.st_uid == self && info.st_gid != parentInfo.st_gid)
        ::fchown(fd.get(), static_cast<uid_t>(-1), parentInfo.st_gid);
    if (self == 0 || info.st_uid == self)
        ::fchmod(fd.get(), parentInfo.st_mode & 07777); // after fchown, which clears the setgid bit
    return true;
}

bool makeGlobalName(const char* name, char* buffer, size_t size)
{
    static constexpr char kPrefix[] = "Global\\";
    const size_t length = std::strlen(name);
    if (buffer == nullptr || length + sizeof kPrefix >= size)
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
