#pragma once

// For fuzz targets whose input is a file: a data folder of the fuzzing process's own, made at the first
// use ($LUMIVANE_DATA_DIR points to it) and removed when the process ends.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace lumivane::fuzz {

class ScratchFolder
{
public:
    ScratchFolder()
    {
        char name[] = "/tmp/lumivane-fuzz-XXXXXX";
        m_path = ::mkdtemp(name) ? name : "";
        ::setenv("LUMIVANE_DATA_DIR", m_path.c_str(), 1);
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        if (!m_path.empty())
            std::filesystem::remove_all(m_path, ignored);
    }
    // Writes `content` to `name` (inside the folder, sub-folders made) and returns the file's path.
    std::string write(const std::string& name, std::string_view content) const
    {
        const std::filesystem::path path = std::filesystem::path(m_path) / name;
        std::error_code ignored;
        std::filesystem::create_directories(path.parent_path(), ignored);
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(content.data(), static_cast<std::streamsize>(content.size()));
        return path.string();
    }

private:
    std::string m_path;
};

inline const ScratchFolder& scratch()
{
    static const ScratchFolder folder;
    return folder;
}

} // namespace lumivane::fuzz
