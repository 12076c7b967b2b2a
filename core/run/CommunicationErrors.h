#pragma once

#include "tessera.h"

#include <map>
#include <string>
#include <string_view>

namespace lumivane {

// Display names of command codes from "CommandName.csv" beside the programs (lines "CODE,name").
class CommandNames
{
public:
    CommandNames() = default;
    static CommandNames load(const std::string& path);
    static CommandNames loadBesideProgram();

    // "Fail to get <name>.\r\n\r\n" for a query ("????" and the like: a "?" as the fifth character),
    // "Fail to set <name>.\r\n\r\n" otherwise; "" when the code has no display name.
    std::string failureLine(std::string_view reportText) const;
    void add(std::string code, std::string name) { m_names[std::move(code)] = std::move(name); }

private:
    std::map<std::string, std::string, std::less<>> m_names;
};

// The text of the error box when the link to a monitor cannot be opened.
std::string openFailureText(const TESSERA_PANEL_DATA& monitor);
// The error box text for a monitor whose ID is out of range.
std::string monitorIdErrorText(const TESSERA_PANEL_DATA& monitor);

// The text of the error box when a command failed with `status`; `reportText` names the command.
std::string commandFailureText(const TESSERA_PANEL_DATA& monitor, int status, std::string_view reportText,
                               const CommandNames& names);

} // namespace lumivane
