#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lumivane {

// The command line that the server starts for each monitor with a new error ("ExecCommandName").
//
// It is never handed to a shell: monitor names are typed by operators and may hold ";", "$" or backquotes.
// The line is split into arguments the way a shell splits words, without any expansion: blanks and tabs
// separate, '...' keeps everything as it stands, "..." keeps everything but \" \\ \$ and \` (a backslash
// before another character stays), and outside quotes a backslash keeps the next character. Only then is
// every "%n" inside an argument replaced by the monitor's name, so the name always stays inside the
// argument it was written in.
std::vector<std::string> splitCommandWords(std::string_view line);
std::vector<std::string> externalCommandArguments(std::string_view commandLine, std::string_view monitorName);

// A program named without a folder is looked for in $PATH; one with a folder is taken as it is. Empty when
// no executable file is found.
std::string findProgram(std::string_view name);

// Starts the command for one monitor and does not wait for it. False, with the reason in `error`, when
// the line is empty or the program cannot be started.
bool startExternalCommand(std::string_view commandLine, std::string_view monitorName, std::string& error);

} // namespace lumivane
