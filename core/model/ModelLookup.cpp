#include "ModelLookup.h"

#include "SharedFile.h"

#include "DataFolder.h"
#include "traitbook.h"

#include <map>
#include <mutex>
#include <optional>

namespace lumivane {
namespace {

std::string_view trimmed(std::string_view text)
{
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    const size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::optional<ModelAlias> parseAliasLine(std::string_view line)
{
    const size_t comma = line.find(',');
    if (comma == std::string_view::npos) {
        return std::nullopt;
    }
    std::string_view rest = line.substr(comma + 1);
    rest = rest.substr(0, rest.find(','));
    ModelAlias alias{std::string(trimmed(line.substr(0, comma))), std::string(trimmed(rest))};
    if (alias.alias.empty()) {
        return std::nullopt;
    }
    return alias;
}

std::optional<uint32_t> lookUp(const std::string& name)
{
    uint32_t code = 0;
    if (name.empty() || TraitLookup(name.c_str(), &code) == 0) {
        return std::nullopt;
    }
    return code;
}

// The aliases of a folder as first read in this process: runs look models up per item and monitor, and
// the file does not change while a program runs.
const std::vector<ModelAlias>& aliasesOf(const std::string& folder)
{
    static std::mutex mutex;
    static std::map<std::string, std::vector<ModelAlias>, std::less<>> read;
    const std::lock_guard lock(mutex);
    auto found = read.find(folder);
    if (found == read.end()) {
        found = read.emplace(folder, readModelAliases(folder)).first;
    }
    return found->second;
}

std::optional<uint32_t> lookUpAlias(std::string_view name, const std::string& aliasFolder)
{
    for (const ModelAlias& alias : aliasesOf(aliasFolder)) {
        if (alias.alias == name) {
            return lookUp(alias.modelName);
        }
    }
    return std::nullopt;
}

} // namespace

std::vector<ModelAlias> readModelAliases(const std::string& folder)
{
    std::vector<ModelAlias> aliases;
    std::string content;
    std::string error;
    if (readLockedFile(folder + "/" + kModelNameFile, content, error) != ReadResult::Ok)
        return aliases;
    std::string_view rest(content);
    while (!rest.empty()) {
        const size_t feed = rest.find('\n');
        std::string line(rest.substr(0, feed));
        rest.remove_prefix(feed == std::string_view::npos ? rest.size() : feed + 1);
        if (std::optional<ModelAlias> alias = parseAliasLine(line)) {
            aliases.push_back(std::move(*alias));
        }
    }
    return aliases;
}

ModelCode modelFromName(std::string_view name, int32_t modelFlags, const std::string& aliasFolder)
{
    if (name.empty()) {
        return ModelCode();
    }
    std::optional<uint32_t> code = lookUp(std::string(name));
    if (!code) {
        code = lookUpAlias(name, aliasFolder);
    }
    if (!code) {
        return ModelCode();
    }
    const ModelCode found(*code);
    if (found.kind() == 7) {
        const bool withBoard = (modelFlags & 1) != 0;
        return ModelCode::of(7, found.variant(), !withBoard);
    }
    return found;
}

ModelCode modelFromName(std::string_view name, int32_t modelFlags)
{
    return modelFromName(name, modelFlags, programFilesFolder());
}

bool isZrModelName(std::string_view name)
{
    return name == "Brela";
}

bool isT988ModelName(std::string_view name)
{
    return name == "QX-T988" || name == "QX-T989B";
}

} // namespace lumivane
