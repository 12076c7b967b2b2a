#include "TempFolder.h"

#include "DataFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace lumivane::test {

TempFolder::TempFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "lumivane-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary folder");
    m_path = pattern;
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

ScopedEnvironment::ScopedEnvironment(std::string name, const std::string& value) : m_name(std::move(name))
{
    if (const char* old = std::getenv(m_name.c_str())) {
        m_old = old;
        m_hadOld = true;
    }
    ::setenv(m_name.c_str(), value.c_str(), 1);
    forgetDataFolder(); // a program keeps its data folder; a test that moves it starts afresh
}

ScopedEnvironment::~ScopedEnvironment()
{
    if (m_hadOld)
        ::setenv(m_name.c_str(), m_old.c_str(), 1);
    else
        ::unsetenv(m_name.c_str());
    forgetDataFolder();
}

TempDataFolder::TempDataFolder()
    : m_data("LUMIVANE_DATA_DIR", path()), m_runtime("LUMIVANE_RUNTIME_DIR", path() + "/.run")
{
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void writeFile(const std::string& path, const std::string& content)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

bool fileExists(const std::string& path)
{
    return std::filesystem::exists(path);
}

} // namespace lumivane::test
