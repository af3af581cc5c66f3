#pragma once

#include "platform/sockets/WinSock.h"

namespace lanvista::sockets {

/// Sends one datagram to `to`. To the limited broadcast address 255.255.255.255 it goes out
/// once through each broadcast adapter (read afresh), with that adapter's address as its
/// source, so that devices behind every adapter see it, not only those behind the adapter
/// of the default route. Without such an adapter, and to any other address, it is one
/// datagram routed as usual.
///
/// Returns the bytes sent when the datagram went out on at least one adapter; a failure on
/// one adapter does not stop the others. Otherwise SOCKET_ERROR, with WSAEWOULDBLOCK when an
/// adapter's send would have blocked, else the first adapter's error.
int SendToEachAdapter(SOCKET s, const void* data, int length, int flags, const sockaddr_in& to);

}  // namespace lanvista::sockets
