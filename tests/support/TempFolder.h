#pragma once

#include <string>

namespace lumivane::test {

// A fresh folder under the system's temporary folder, removed with everything in it on destruction.
class TempFolder
{
public:
    TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();

    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

// Sets an environment variable for the life of the object and restores the old value afterwards.
class ScopedEnvironment
{
public:
    ScopedEnvironment(std::string name, const std::string& value);
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
    ~ScopedEnvironment();

private:
    std::string m_name;
    std::string m_old;
    bool m_hadOld = false;
};

// A temporary data folder that LUMIVANE_DATA_DIR and LUMIVANE_RUNTIME_DIR point at.
class TempDataFolder : public TempFolder
{
public:
    TempDataFolder();

private:
    ScopedEnvironment m_data;
    ScopedEnvironment m_runtime;
};

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& content);
bool fileExists(const std::string& path);

} // namespace lumivane::test
