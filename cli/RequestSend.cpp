#include "cli/RequestSend.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>

std::string SendRequest(int socket, const std::string& datagram, const CliNetwork& network,
                        const std::vector<std::string>&)
{
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<std::uint16_t>(network.remoteUdpPort));
    if (::inet_pton(AF_INET, network.udpDestination.c_str(), &to.sin_addr) != 1)
        return "bad destination " + network.udpDestination;
    if (::sendto(socket, datagram.data(), datagram.size(), MSG_NOSIGNAL, reinterpret_cast<const sockaddr*>(&to),
                 sizeof to) < 0)
        return std::strerror(errno);
    return {};
}
