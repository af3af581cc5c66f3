#include "platform/sockets/SendToEachAdapter.h"

#include "platform/sockets/SocketCalls.h"

#include <algorithm>

namespace lanvista::sockets {

int SendToEachAdapter(SOCKET s, const void* data, int length, int flags, const sockaddr_in& to)
{
    const auto routed = [&] {
        return SendBytesTo(s, data, length, flags, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    };
    if (to.sin_addr.s_addr != htonl(INADDR_BROADCAST))
        return routed();
    const std::vector<NetworkAdapter> adapters = BroadcastAdapters();
    if (adapters.empty())
        return routed();

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

}  // namespace lanvista::sockets
