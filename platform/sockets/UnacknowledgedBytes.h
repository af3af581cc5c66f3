#pragma once

#include "platform/sockets/WinSock.h"

#include <cstddef>

namespace lanvista::sockets {

/// Bytes handed to the system on a connected TCP socket that the peer has not acknowledged
/// yet, so that a sender can show what the peer has taken; 0 when the system cannot tell.
std::size_t UnacknowledgedBytes(SOCKET s);

}  // namespace lanvista::sockets
