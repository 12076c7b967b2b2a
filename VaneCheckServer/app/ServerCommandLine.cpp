#include "ServerCommandLine.h"

#include "TextNumbers.h"

#include <strings.h>

namespace lumivane {

ServerCommandLine ServerCommandLine::parse(const std::vector<std::string>& arguments)
{
    ServerCommandLine line;
    bool afterShow = false;
    for (const std::string& argument : arguments) {
        if (argument == "--headless") {
            line.headless = true;
            afterShow = false;
        } else if (argument == "--help" || argument == "-h") {
            line.help = true;
        } else if (!argument.empty() && (argument[0] == '/' || argument[0] == '-')) {
            // "/show", "-show" and the long form "--show".
            const size_t switchLength = argument.rfind("--", 0) == 0 ? 2 : 1;
            afterShow = ::strcasecmp(argument.c_str() + switchLength, "show") == 0;
            if (afterShow)
                line.show = true;
        } else if (afterShow) {
            line.showAuthority = parseAtoi(argument);
            afterShow = false;
        }
    }
    return line;
}

ServerCommandLine ServerCommandLine::parse(int argc, char** argv)
{
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.emplace_back(argv[i]);
    return parse(arguments);
}

} // namespace lumivane
