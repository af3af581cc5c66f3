#include "cli/RequestSend.h"

#include "cli/ErrorText.h"
#include "platform/sockets/SendToEachAdapter.h"
#include "platform/sockets/SocketCalls.h"

#include <algorithm>

namespace {

using namespace lanvista::sockets;

std::vector<NetworkAdapter> AdaptersFor(const std::vector<int>& interfaces, std::span<const DatagramArrival> heard)
{
    std::vector<NetworkAdapter> adapters = BroadcastAdapters();
    if (!interfaces.empty())
        std::erase_if(adapters, [&](const NetworkAdapter& adapter) {
            return std::find(interfaces.begin(), interfaces.end(), static_cast<int>(adapter.index)) == interfaces.end();
        });
    if (!heard.empty()) {
        std::vector<NetworkAdapter> back = AdaptersHeard(adapters, heard);
        if (!back.empty())
            return back;
    }
    return adapters;
}

} // namespace

RequestSent SendRequest(SOCKET socket, const std::string& datagram, const CliNetwork& network,
                        const std::vector<int>& interfaces, std::span<const DatagramArrival> heard)
{
    RequestSent result;
    sockaddr_in to{};
    if (!ResolveIPv4(network.udpDestination.c_str(), network.remoteUdpPort, INADDR_NONE, to)) {
        result.error = "no address " + network.udpDestination;
        return result;
    }
    const int length = static_cast<int>(datagram.size());
    const std::vector<NetworkAdapter> adapters =
        to.sin_addr.s_addr == htonl(INADDR_BROADCAST) ? AdaptersFor(interfaces, heard) : std::vector<NetworkAdapter>{};
    if (adapters.empty()) {
        if (!interfaces.empty() && to.sin_addr.s_addr == htonl(INADDR_BROADCAST)) {
            result.error = "none of the adapters asked for is up with an IPv4 address that can broadcast";
            return result;
        }
        if (SendBytesTo(socket, datagram.data(), length, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to) ==
            SOCKET_ERROR)
            result.error = SocketErrorText(WSAGetLastError());
        return result;
    }
    // A failure on one adapter does not stop the others.
    for (const NetworkAdapter& adapter : adapters) {
        if (SendBytesThrough(socket, datagram.data(), length, 0, to, adapter) != SOCKET_ERROR)
            result.adapters.push_back(adapter);
        else if (result.error.empty())
            result.error = adapter.name + ": " + SocketErrorText(WSAGetLastError());
    }
    if (!result.adapters.empty())
        result.error.clear();
    return result;
}
