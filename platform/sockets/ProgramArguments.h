#pragma once

// The program's arguments in UTF-8 on every system: Windows hands main() its arguments in the
// ANSI code page, where a folder named in Korean, say, arrives as question marks.

#include <string>
#include <vector>

namespace lanvista::sockets {

/// The arguments after the program's name, in UTF-8; argc and argv are main()'s.
std::vector<std::string> ProgramArguments(int argc, char** argv);

}  // namespace lanvista::sockets
