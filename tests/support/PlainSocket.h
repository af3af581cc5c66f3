#pragma once
// The few calls in which the system sockets of the tests' peers differ between POSIX and
// Winsock; the peers use plain system sockets so that a fault armed in the socket layer
// never reaches them.

#include "platform/sockets/WinSock.h"

#ifndef _WIN32
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace plain_socket {

inline void MakeNonBlocking(SOCKET s)
{
#ifdef _WIN32
    u_long on = 1;
    ioctlsocket(s, FIONBIO, &on);
#else
    fcntl(s, F_SETFL, fcntl(s, F_GETFL) | O_NONBLOCK);
#endif
}

inline void Close(SOCKET s)
{
#ifdef _WIN32
    closesocket(s);
#else
    close(s);
#endif
}

// The last call failed only because it would have had to wait.
inline bool WouldBlock()
{
#ifdef _WIN32
    return WSAGetLastError() == WSAEWOULDBLOCK;
#else
    return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
#endif
}

}  // namespace plain_socket
