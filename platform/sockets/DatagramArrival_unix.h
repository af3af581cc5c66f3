#pragma once

// What IP_PKTINFO tells of a received datagram, read from the control data of its message:
// shared by the single and the batched receive on Linux.

#include "platform/sockets/NetworkAdapter.h"

#include <sys/socket.h>

#include <cstring>

namespace lanvista::sockets {

inline DatagramArrival ArrivalOf(msghdr& message)
{
    DatagramArrival arrival;
    for (cmsghdr* header = CMSG_FIRSTHDR(&message); header; header = CMSG_NXTHDR(&message, header)) {
        if (header->cmsg_level != IPPROTO_IP || header->cmsg_type != IP_PKTINFO)
            continue;
        in_pktinfo info{};
        std::memcpy(&info, CMSG_DATA(header), sizeof info);
        arrival.destination = info.ipi_addr;
        arrival.interfaceIndex = static_cast<unsigned>(info.ipi_ifindex);
    }
    return arrival;
}

}  // namespace lanvista::sockets
