#pragma once

#include "ModelCode.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lumivane {

// "ModelName.txt" beside the programs: lines "alias,model name". The aliases are what the registration
// dialog offers; a name the model database does not know is looked up as an alias.
inline constexpr const char* kModelNameFile = "ModelName.txt";

struct ModelAlias
{
    std::string alias;
    std::string modelName;
};

// The lines of "ModelName.txt" in `folder`, in file order; empty when the file is missing. Lines without
// a comma or with an empty alias are skipped; blanks around fields and a CR before the line end are
// dropped.
std::vector<ModelAlias> readModelAliases(const std::string& folder);

// The ModelCode of a monitor from its model name and nModelFlags (bit 0: expansion board fitted). An
// empty name gives kind 0. A name the database does not know is looked up through the aliases of
// "ModelName.txt" in `aliasFolder` (the first line whose alias equals the name, case-sensitive; the file
// is read once per folder and process); no match gives kind 0. For kind 7 the code holds kind, variant
// and bit 8 when the board is missing.
ModelCode modelFromName(std::string_view name, int32_t modelFlags, const std::string& aliasFolder);
// The same with the aliases beside the running program.
ModelCode modelFromName(std::string_view name, int32_t modelFlags);

// The ZR-1190 family is stored under the model name "Brela".
bool isZrModelName(std::string_view name);
bool isT988ModelName(std::string_view name);

} // namespace lumivane
