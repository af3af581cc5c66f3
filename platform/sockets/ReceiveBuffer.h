#pragma once

#include "platform/sockets/WinSock.h"

namespace lanvista::sockets {

/// Asks for a receive buffer of `bytes` on the socket, beyond the system's usual cap where
/// the process may; returns the size the system reports afterwards, 0 when it does not say.
int GrowReceiveBuffer(SOCKET s, int bytes);

}  // namespace lanvista::sockets
