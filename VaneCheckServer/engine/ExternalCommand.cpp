#include "ExternalCommand.h"

#include "ProcessLauncher.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace lumivane {
namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool escapableInDoubleQuotes(char c)
{
    return c == '"' || c == '\\' || c == '$' || c == '`';
}

std::string replaceAll(std::string text, std::string_view from, std::string_view to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

bool isExecutableFile(const std::string& path)
{
    struct stat info
    {
    };
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

} // namespace

std::vector<std::string> splitCommandWords(std::string_view line)
{
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (isBlank(c)) {
            if (inWord)
                words.push_back(std::move(word));
            word.clear();
            inWord = false;
            continue;
        }
        inWord = true;
        if (c == '\'') {
            const size_t end = line.find('\'', i + 1);
            const size_t stop = end == std::string_view::npos ? line.size() : end;
            word.append(line.substr(i + 1, stop - i - 1));
            i = stop;
        } else if (c == '"') {
            for (++i; i < line.size() && line[i] != '"'; ++i) {
                if (line[i] == '\\' && i + 1 < line.size() && escapableInDoubleQuotes(line[i + 1]))
                    ++i;
                word += line[i];
            }
        } else if (c == '\\' && i + 1 < line.size()) {
            word += line[++i];
        } else {
            word += c;
        }
    }
    if (inWord)
        words.push_back(std::move(word));
    return words;
}

std::vector<std::string> externalCommandArguments(std::string_view commandLine, std::string_view monitorName)
{
    std::vector<std::string> arguments = splitCommandWords(commandLine);
    for (std::string& argument : arguments)
        argument = replaceAll(std::move(argument), "%n", monitorName);
    return arguments;
}

std::string findProgram(std::string_view name)
{
    if (name.empty())
        return {};
    if (name.find('/') != std::string_view::npos)
        return isExecutableFile(std::string(name)) ? std::string(name) : std::string();
    const char* path = std::getenv("PATH");
    std::string_view folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
    while (!folders.empty()) {
        const size_t colon = folders.find(':');
        std::string_view folder = folders.substr(0, colon);
        folders = colon == std::string_view::npos ? std::string_view() : folders.substr(colon + 1);
        if (folder.empty())
            continue; // an empty entry would mean the current folder, which a server must not search
        const std::string candidate = std::string(folder) + "/" + std::string(name);
        if (isExecutableFile(candidate))
            return candidate;
    }
    return {};
}

bool startExternalCommand(std::string_view commandLine, std::string_view monitorName, std::string& error)
{
    std::vector<std::string> arguments = externalCommandArguments(commandLine, monitorName);
    if (arguments.empty() || arguments.front().empty()) {
        error = "The command line is empty.";
        return false;
    }
    const std::string program = findProgram(arguments.front());
    if (program.empty()) {
        error = "Program not found: " + arguments.front();
        return false;
    }
    arguments.front() = program;
    return spawnDetached(arguments, error);
}

} // namespace lumivane
