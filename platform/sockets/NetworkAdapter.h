#pragma once

#include "platform/sockets/WinSock.h"

#include <string>

/// A network adapter of this machine that a limited broadcast can leave by.
struct NetworkAdapter {
    std::string name;       ///< as the system names it, e.g. "eth0"
    unsigned index = 0;     ///< the system's interface index
    in_addr address{};      ///< its IPv4 address, the source of what is sent through it
};

/// How a received datagram reached this machine.
struct DatagramArrival {
    in_addr destination{};       ///< the address it was sent to: an adapter's, or a broadcast
    unsigned interfaceIndex = 0; ///< the adapter it came in on; 0 when the system did not say
};
