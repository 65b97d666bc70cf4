// The text of toven --help. Its numbers are the program's own limits and its item names the
// table of data items, so the text cannot drift from what the program does.
#pragma once

#include <string>

namespace toven {

std::string command_line_help();

}  // namespace toven
