#include "platform/sockets/ReceiveBuffer.h"

#include <sys/socket.h>

namespace lanvista::sockets {

int GrowReceiveBuffer(SOCKET s, int bytes)
{
    // SO_RCVBUFFORCE passes net.core.rmem_max for a process with CAP_NET_ADMIN; anyone else
    // gets at most that cap through SO_RCVBUF.
    if (::setsockopt(s, SOL_SOCKET, SO_RCVBUFFORCE, &bytes, sizeof bytes) != 0)
        ::setsockopt(s, SOL_SOCKET, SO_RCVBUF, &bytes, sizeof bytes);
    int size = 0;
    socklen_t length = sizeof size;
    return ::getsockopt(s, SOL_SOCKET, SO_RCVBUF, &size, &length) == 0 ? size : 0;
}

}  // namespace lanvista::sockets
