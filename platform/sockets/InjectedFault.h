#pragma once

// The socket calls' side of the test seam (SocketFaults.h): each system's calls ask it first.

#include "platform/sockets/SocketFaults.h"

namespace lanvista::sockets {

/// True when this call is to fail; `error` is then the errno it fails with.
bool Injected(SocketCall call, int& error);

}  // namespace lanvista::sockets
