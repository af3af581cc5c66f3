#include "cli/RequestSend.h"

#include "platform/sockets/SendToEachAdapter.h"
#include "platform/sockets/SocketCalls.h"

#include <algorithm>

namespace {

using namespace lanvista::sockets;

std::string SocketError()
{
    return "socket error " + std::to_string(WSAGetLastError());
}

// Through each named adapter; a failure on one does not stop the others.
std::string SendThrough(SOCKET socket, const std::string& datagram, const sockaddr_in& to,
                        const std::vector<std::string>& names)
{
    const std::vector<NetworkAdapter> adapters = BroadcastAdapters();
    for (const std::string& name : names)
        if (std::none_of(adapters.begin(), adapters.end(), [&](const NetworkAdapter& a) { return a.name == name; }))
            return "no adapter \"" + name + "\" that is up, has an IPv4 address and can broadcast";
    std::string error;
    bool sent = false;
    for (const NetworkAdapter& adapter : adapters) {
        if (std::find(names.begin(), names.end(), adapter.name) == names.end())
            continue;
        if (SendBytesThrough(socket, datagram.data(), static_cast<int>(datagram.size()), 0, to, adapter) != SOCKET_ERROR)
            sent = true;
        else if (error.empty())
            error = adapter.name + ": " + SocketError();
    }
    return sent ? std::string() : error;
}

} // namespace

std::string SendRequest(int socket, const std::string& datagram, const CliNetwork& network,
                        const std::vector<std::string>& interfaces)
{
    sockaddr_in to{};
    if (!ResolveIPv4(network.udpDestination.c_str(), network.remoteUdpPort, INADDR_NONE, to))
        return "no address " + network.udpDestination;
    if (!interfaces.empty() && to.sin_addr.s_addr == htonl(INADDR_BROADCAST))
        return SendThrough(socket, datagram, to, interfaces);
    if (SendToEachAdapter(socket, datagram.data(), static_cast<int>(datagram.size()), 0, to) == SOCKET_ERROR)
        return SocketError();
    return {};
}
