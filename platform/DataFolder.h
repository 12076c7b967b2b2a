#pragma once

#include <cstddef>
#include <string>

namespace lumivane {

// Longest path, in bytes with the terminating NUL, that the shared files may have.
inline constexpr size_t kMaxPath = 260;

// The machine-wide folder that holds the shared files:
//  1. $LUMIVANE_DATA_DIR when set (tests, demo);
//  2. /var/lib/Kairo/Lumivane when it exists, or when this process may create it (root): group
//     "lumivane", mode 2770 and a default ACL g::rwx,o::--- that keeps new files group-writable and
//     closed to everybody else;
//  3. else $XDG_DATA_HOME/Kairo/Lumivane (default ~/.local/share), mode 0700, for one user.
// The choice is made once per process and kept, so that a folder appearing meanwhile never splits one
// program's files between two places. With `create` the folder is created when missing. Empty when the
// folder is unknown or its path would not fit kMaxPath.
std::string dataFolder(bool create);

// Makes the next dataFolder() work the folder out again. For tests that switch folders.
void forgetDataFolder();

// Where dataFolder looks, for tests: the machine-wide folder and whether this process may create it.
struct DataFolderPlaces
{
    std::string machineFolder = "/var/lib/Kairo/Lumivane";
    bool mayCreateMachineFolder = false; // root
};
std::string dataFolder(bool create, const DataFolderPlaces& places);

// Buffer form: false when the buffer has fewer than kMaxPath bytes or the folder is unknown.
bool dataFolder(char* buffer, size_t size, bool create);

// A file in the data folder; empty when the folder is unknown or the path would not fit kMaxPath.
std::string dataFilePath(const std::string& fileName, bool create = false);

// The folder of the running program (where the other programs of the system lie).
std::string programFolder();

// The folder of the programs' own files ("QVXCtrlEnv.ini", "ModelName.txt", "CommandName.csv", the
// translations): $LUMIVANE_PROGRAM_DIR when set; else the program's folder when they lie beside it (a
// build folder); else "<prefix>/share/lumivane" of a program installed in "<prefix>/bin".
std::string programFilesFolder();

// The folder of lock files and sockets: $LUMIVANE_RUNTIME_DIR, else "<data folder>/.run".
std::string runtimeFolder(bool create);

// Opens a folder for the *at() calls (O_DIRECTORY|O_CLOEXEC). The part of `path` below the data folder is
// walked one component at a time without following links, so that no link planted inside the data folder
// leads anywhere else. -1 with errno set on failure (ELOOP or ENOTDIR for a link).
int openFolder(const std::string& path);

// Creates the folder `name` inside `parent` when missing, without following a link in its place, and
// gives it the parent's group and permission bits (and owner, when run as root). False with `error` set
// when it cannot be created or something other than a folder stands in its place.
bool ensureSubfolder(const std::string& parent, const std::string& name, std::string& error);

// "Global\" followed by `name`. Fails, making no name, unless the result with its NUL leaves at least one
// byte of `size` unused.
bool makeGlobalName(const char* name, char* buffer, size_t size);
std::string makeGlobalName(const std::string& name);

} // namespace lumivane
