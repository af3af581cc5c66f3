#include "platform/sockets/WinSock.h"

namespace {
thread_local int t_lastError = 0;
}

int WSAGetLastError()
{
    return t_lastError;
}

void WSASetLastError(int error)
{
    t_lastError = error;
}
