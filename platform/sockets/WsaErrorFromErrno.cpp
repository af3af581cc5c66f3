#include "platform/sockets/WinSock.h"

#include <cerrno>

// Shared by both systems: on Windows the socket calls report the system's own numbers, and
// this serves the faults tests inject, which are given as errno values.
int WsaErrorFromErrno(int err)
{
    // EAGAIN and EWOULDBLOCK may be one value, so they cannot both be case labels.
    if (err == EAGAIN || err == EWOULDBLOCK)
        return WSAEWOULDBLOCK;
    switch (err) {
    case EINPROGRESS: return WSAEINPROGRESS;
    case EBADF: return WSAENOTSOCK;
    case ENOTSOCK: return WSAENOTSOCK;
    case EMSGSIZE: return WSAEMSGSIZE;
    case EADDRINUSE: return WSAEADDRINUSE;
    case EADDRNOTAVAIL: return WSAEADDRNOTAVAIL;
    case ENETDOWN: return WSAENETDOWN;
    case ENETUNREACH: return WSAENETUNREACH;
    case ECONNABORTED: return WSAECONNABORTED;
    case ECONNRESET: return WSAECONNRESET;
    case EPIPE: return WSAECONNRESET;
    case ENOTCONN: return WSAENOTCONN;
    case ETIMEDOUT: return WSAETIMEDOUT;
    case ECONNREFUSED: return WSAECONNREFUSED;
    case EHOSTUNREACH: return WSAEHOSTUNREACH;
    case EACCES: return WSAEACCES;
    case EINVAL: return WSAEINVAL;
    case EMFILE: return WSAEMFILE;
    default: return err;
    }
}
