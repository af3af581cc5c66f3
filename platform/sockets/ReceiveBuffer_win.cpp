#include "platform/sockets/ReceiveBuffer.h"

namespace lanvista::sockets {

int GrowReceiveBuffer(SOCKET s, int bytes)
{
    ::setsockopt(s, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&bytes), sizeof bytes);
    int size = 0;
    int length = sizeof size;
    return ::getsockopt(s, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<char*>(&size), &length) == 0 ? size : 0;
}

}  // namespace lanvista::sockets
