#pragma once

#include <cstddef>
#include <string>

namespace lumivane {

// Longest path, in bytes with the terminating NUL, that the shared files may have.
inline constexpr size_t kMaxPath = 260;

// The machine-wide folder that holds the shared files:
//  1. $LUMIVANE_DATA_DIR when set (tests, demo);
//  2. /var/lib/Kairo/Lumivane when it exists, or when this process may create it (root): group
//     "lumivane", mode 2775 and a default ACL that keeps new files group-writable;
//  3. else $XDG_DATA_HOME/Kairo/Lumivane (default ~/.local/share), mode 0700, for one user.
// With `create` the folder is created when missing. Empty when the folder is unknown or its path would
// not fit kMaxPath.
std::string dataFolder(bool create);

// Where dataFolder looks, for tests: the machine-wide folder and whether this process may create it.
struct DataFolderPlaces {
    std::string machineFolder = "/var/lib/Kairo/Lumivane";
    bool mayCreateMachineFolder = false; // root
};
std::string dataFolder(bool create, const DataFolderPlaces& places);

// Buffer form: false when the buffer has fewer than kMaxPath bytes or the folder is unknown.
bool dataFolder(char* buffer, size_t size, bool create);

// A file in the data folder; empty when the folder is unknown or the path would not fit kMaxPath.
std::string dataFilePath(const std::string& fileName, bool create = false);

// The folder of the running program (INI switches, model names, command names, the server program).
std::string programFolder();

// The folder of lock files and sockets: $LUMIVANE_RUNTIME_DIR, else "<data folder>/.run".
std::string runtimeFolder(bool create);

// "Global\" followed by `name`. Fails, making no name, when the result would not fit `size` bytes.
bool makeGlobalName(const char* name, char* buffer, size_t size);
std::string makeGlobalName(const std::string& name);

} // namespace lumivane
