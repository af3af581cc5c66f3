#include "platform/sockets/ProgramArguments.h"

namespace lanvista::sockets {

std::vector<std::string> ProgramArguments(int argc, char** argv)
{
    // The bytes as the shell gave them: file names are bytes here, UTF-8 by convention.
    return std::vector<std::string>(argv + 1, argv + argc);
}

}  // namespace lanvista::sockets
