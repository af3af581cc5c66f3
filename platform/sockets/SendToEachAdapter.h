#pragma once

#include "platform/sockets/NetworkAdapter.h"
#include "platform/sockets/WinSock.h"

#include <span>
#include <vector>

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

/// As SendToEachAdapter, but a broadcast goes out only through the adapters by which the
/// `heard` datagrams came back: the adapter whose address one was sent to, else the one it
/// came in on. So a request for one device is not heard twice where two adapters reach its
/// segment. When none of those adapters is up any more, or none was heard, through each.
int SendToAdaptersHeard(SOCKET s, const void* data, int length, int flags, const sockaddr_in& to,
                        std::span<const DatagramArrival> heard);

/// Those of `adapters` that lead back to where the `heard` datagrams came from, as
/// SendToAdaptersHeard picks them; empty when none does.
std::vector<NetworkAdapter> AdaptersHeard(const std::vector<NetworkAdapter>& adapters,
                                          std::span<const DatagramArrival> heard);

}  // namespace lanvista::sockets
