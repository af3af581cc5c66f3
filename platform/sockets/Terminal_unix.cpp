#include "platform/sockets/Terminal.h"

#include <unistd.h>

namespace lanvista::sockets {

bool StandardErrorIsTerminal()
{
    return ::isatty(STDERR_FILENO) == 1;
}

}  // namespace lanvista::sockets
