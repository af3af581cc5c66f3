#pragma once

// Many datagrams to one call, each with its sender and the way it came in: a burst of
// thousands of replies costs a fraction of the calls one receive per datagram would.

#include "platform/sockets/NetworkAdapter.h"
#include "platform/sockets/WinSock.h"

namespace lanvista::sockets {

/// One datagram of a batch: the caller's room for it, and what the receive tells of it.
struct BatchDatagram {
    char* data = nullptr;      ///< room for the datagram; a longer one is cut at `room` bytes
    int room = 0;
    int size = 0;              ///< bytes received into data
    sockaddr_in from{};        ///< the sender
    DatagramArrival arrival;   ///< the address it was sent to and the adapter it came in on
};

/// Receives what has arrived on a non-blocking datagram socket, up to `count` datagrams
/// (recvmmsg on Linux, WSARecvMsg in a loop on Windows). Returns how many were received, or
/// SOCKET_ERROR with WSAEWOULDBLOCK when none had arrived (another error when the first
/// receive failed otherwise).
int ReceiveDatagrams(SOCKET s, BatchDatagram* batch, int count);

}  // namespace lanvista::sockets
