#pragma once

// Helpers of the socket calls' tests on either system: a pair of UDP sockets on 127.0.0.1
// made with the calls under test, a wait for a datagram, and adapters as text.

#include "platform/sockets/SocketCalls.h"
#include "platform/sockets/SocketFaults.h"

#ifdef _WIN32
#include <iphlpapi.h>
#else
#include <net/if.h>
#include <poll.h>
#endif

#include <string>
#include <vector>

namespace socketcallstest {

using namespace lanvista::sockets;

inline sockaddr_in Loopback(std::uint16_t port)
{
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}

/// True once a datagram waits at `s`, false after `ms` without one.
inline bool WaitReadable(SOCKET s, int ms)
{
#ifdef _WIN32
    WSAPOLLFD ready{s, POLLRDNORM, 0};
    return ::WSAPoll(&ready, 1, ms) == 1;
#else
    pollfd ready{s, POLLIN, 0};
    return ::poll(&ready, 1, ms) == 1;
#endif
}

/// The loopback interface's index, as a received datagram names it.
inline unsigned LoopbackIndex()
{
#ifdef _WIN32
    ULONG size = 64 * 1024;
    std::vector<unsigned char> buffer(size);
    auto* list = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data());
    if (::GetAdaptersAddresses(AF_INET, 0, nullptr, list, &size) != NO_ERROR)
        return 0;
    for (const IP_ADAPTER_ADDRESSES* a = list; a; a = a->Next) {
        if (a->IfType == IF_TYPE_SOFTWARE_LOOPBACK)
            return a->IfIndex;
    }
    return 0;
#else
    return if_nametoindex("lo");
#endif
}

/// "name#index=address" for each adapter.
inline std::vector<std::string> Described(const std::vector<NetworkAdapter>& adapters)
{
    std::vector<std::string> described;
    for (const NetworkAdapter& a : adapters)
        described.push_back(a.name + "#" + std::to_string(a.index) + "=" + AddressText(a.address));
    return described;
}

struct UdpPair {
    UdpPair()
    {
        for (SOCKET* s : {&sender, &receiver}) {
            *s = OpenSocket(SOCK_DGRAM);
            const sockaddr_in any = Loopback(0);
            BindSocket(*s, any);
        }
        SocketName(receiver, to);
    }
    ~UdpPair()
    {
        ClearSocketFaultsForTesting();
        CloseSocket(sender);
        CloseSocket(receiver);
    }
    UdpPair(const UdpPair&) = delete;
    UdpPair& operator=(const UdpPair&) = delete;

    // Datagrams waiting at the receiver.
    int Waiting() const
    {
        int count = 0;
        char buffer[256];
        while (ReceiveBytes(receiver, buffer, sizeof buffer, 0, true) >= 0)
            ++count;
        return count;
    }
    SOCKET sender = INVALID_SOCKET;
    SOCKET receiver = INVALID_SOCKET;
    sockaddr_in to{};
};

}  // namespace socketcallstest
