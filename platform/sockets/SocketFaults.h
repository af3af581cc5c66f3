#pragma once

// Test seam of the socket layer: makes its calls fail on purpose, so that tests produce every
// failure for real. Only tests call this; no option, variable or argument of the program does.

namespace lanvista::sockets {

enum class SocketCall {
    Allocate,     ///< memory for a socket object; the allocation yields nothing
    Open,         ///< making a socket
    SetOption,
    GetOption,
    Connect,
    Send,         ///< a send on a connected socket
    SendTo,       ///< a datagram send, routed or through one adapter
    Receive,      ///< a receive, with or without the sender
};

struct SocketFault {
    SocketCall call;
    /// The errno the call fails with. For Send and SendTo, 0 makes the call report 0 bytes
    /// sent instead of failing; Allocate ignores it.
    int error = 0;
    int skip = 0;   ///< calls of this kind that go through first
    int times = 1;  ///< calls that fail after those
};

/// Arms a fault for its kind of call, in place of any fault armed for that kind before.
void InjectSocketFaultForTesting(const SocketFault& fault);
/// Disarms every fault.
void ClearSocketFaultsForTesting();

}  // namespace lanvista::sockets
