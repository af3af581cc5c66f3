#pragma once

// A wait on a socket with a deadline, for a program without an event loop: every wait of
// a command-line tool ends by its deadline, whatever trickles in meanwhile.

#include "platform/sockets/WinSock.h"

#include <chrono>

namespace lanvista::sockets {

/// Waits until one of `events` (POLLIN, POLLOUT) is ready on the socket or the deadline
/// passes: the events ready, or 0 once the deadline has passed or the wait failed.
short ReadyBefore(SOCKET s, short events, std::chrono::steady_clock::time_point deadline);

}  // namespace lanvista::sockets
