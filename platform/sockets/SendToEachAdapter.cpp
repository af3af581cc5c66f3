#include "platform/sockets/SendToEachAdapter.h"

#include "platform/sockets/SocketCalls.h"

#include <algorithm>

namespace lanvista::sockets {

namespace {

bool IsBroadcast(const sockaddr_in& to)
{
    return to.sin_addr.s_addr == htonl(INADDR_BROADCAST);
}

int SendRouted(SOCKET s, const void* data, int length, int flags, const sockaddr_in& to)
{
    return SendBytesTo(s, data, length, flags, reinterpret_cast<const sockaddr*>(&to), sizeof to);
}

int SendThrough(SOCKET s, const void* data, int length, int flags, const sockaddr_in& to,
                const std::vector<NetworkAdapter>& adapters)
{
    int sent = SOCKET_ERROR;
    int firstError = 0;
    bool wouldBlock = false;
    for (const NetworkAdapter& adapter : adapters) {
        const int n = SendBytesThrough(s, data, length, flags, to, adapter);
        if (n != SOCKET_ERROR) {
            sent = std::max(sent, n);
            continue;
        }
        const int error = WSAGetLastError();
        wouldBlock = wouldBlock || error == WSAEWOULDBLOCK;
        if (firstError == 0 && error != WSAEWOULDBLOCK)
            firstError = error;
    }
    if (sent == SOCKET_ERROR)
        WSASetLastError(wouldBlock ? WSAEWOULDBLOCK : firstError);
    return sent;
}

bool SentToAdapter(const DatagramArrival& heard, const NetworkAdapter& adapter)
{
    return heard.destination.s_addr == adapter.address.s_addr;
}

}  // namespace

std::vector<NetworkAdapter> AdaptersHeard(const std::vector<NetworkAdapter>& adapters,
                                          std::span<const DatagramArrival> heard)
{
    std::vector<NetworkAdapter> chosen;
    for (const NetworkAdapter& adapter : adapters) {
        const bool leadsBack = std::any_of(heard.begin(), heard.end(), [&](const DatagramArrival& arrival) {
            if (SentToAdapter(arrival, adapter))
                return true;
            // A broadcast answer, or one to an address no adapter holds now: where it came in.
            const bool toSomeAdapter = std::any_of(adapters.begin(), adapters.end(), [&](const NetworkAdapter& other) {
                return SentToAdapter(arrival, other);
            });
            return !toSomeAdapter && arrival.interfaceIndex == adapter.index;
        });
        if (leadsBack)
            chosen.push_back(adapter);
    }
    return chosen;
}

int SendToEachAdapter(SOCKET s, const void* data, int length, int flags, const sockaddr_in& to)
{
    return SendToAdaptersHeard(s, data, length, flags, to, {});
}

int SendToAdaptersHeard(SOCKET s, const void* data, int length, int flags, const sockaddr_in& to,
                        std::span<const DatagramArrival> heard)
{
    if (!IsBroadcast(to))
        return SendRouted(s, data, length, flags, to);
    const std::vector<NetworkAdapter> adapters = BroadcastAdapters();
    if (adapters.empty())
        return SendRouted(s, data, length, flags, to);
    const std::vector<NetworkAdapter> chosen = AdaptersHeard(adapters, heard);
    return SendThrough(s, data, length, flags, to, chosen.empty() ? adapters : chosen);
}

}  // namespace lanvista::sockets
