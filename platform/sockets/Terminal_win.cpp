#include "platform/sockets/Terminal.h"

#include <windows.h>

namespace lanvista::sockets {

bool StandardErrorIsTerminal()
{
    // _isatty says yes for any character device, NUL included; only a console has a mode.
    DWORD mode = 0;
    return ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

}  // namespace lanvista::sockets
