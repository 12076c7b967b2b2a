#pragma once

#include <string>
#include <string_view>

namespace lumivane::sim {

class Emulator;

// The control commands of a running fleet, one line each; the answer is "OK", "ERR <reason>" or, for
// the commands that show something, text lines. `<monitor>` and `<chain>` are names from the fleet.
//   power <monitor> on|off            powerup <monitor> <ms>          delay <monitor> <ms>
//   fault <monitor> none|silent|drop|garbage|endless|wrongid|cutline
//   locked <monitor> on|off           iferr <monitor> on|off          status <monitor> <hex word>
//   temperature <monitor> <text>      signal <monitor> on|off         id <monitor> <0-255>
//   login <chain> <user> <password>   login <chain> off               refuse <chain> on|off
//   greeting <chain> on|off           drop <chain>
//   where                             show <monitor>                  lines <chain>
//   help
std::string runControlCommand(Emulator& emulator, std::string_view line);

} // namespace lumivane::sim
