#include "cli/DeviceLink.h"

#include "cli/ExitCode.h"
#include "cli/RequestSend.h"
#include "link/Datagram.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstring>

std::chrono::steady_clock::time_point DeadlineIn(double seconds)
{
    using namespace std::chrono;
    return steady_clock::now() + duration_cast<steady_clock::duration>(duration<double>(seconds));
}

std::uint32_t TickSeed()
{
    using namespace std::chrono;
    return static_cast<std::uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::string SearchRequestFor(const std::optional<std::string>& mac12, std::uint32_t seed)
{
    // The six MAC boxes of the dialog: all full asks one device, all empty every device.
    std::array<std::string, 6> boxes;
    if (mac12)
        for (std::size_t i = 0; i < boxes.size(); ++i)
            boxes[i] = mac12->substr(2 * i, 2);
    return BuildSearchRequest(boxes, seed);
}

bool IsDevice(const DeviceRecord& record, const std::string& mac12)
{
    return std::equal(record.mac12.begin(), record.mac12.end(), mac12.begin(), mac12.end(), [](char a, char b) {
        return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
    });
}

DeviceLink::DeviceLink(const CliNetwork& network, std::vector<std::string> interfaces)
    : m_network(network), m_interfaces(std::move(interfaces))
{
}

std::optional<int> DeviceLink::Open(std::ostream& err)
{
    const int error = m_udp.Open(m_network.localUdpPort);
    if (error == 0)
        return std::nullopt;
    if (error == EADDRINUSE)
        err << "lanvista-cli: UDP port " << m_network.localUdpPort
            << " is already in use, most likely by an open Lanvista window; close it and try again\n";
    else
        err << "lanvista-cli: cannot open UDP port " << m_network.localUdpPort << ": " << std::strerror(error)
            << '\n';
    return kExitNetwork;
}

bool DeviceLink::Send(const std::string& request, std::ostream& err)
{
    const std::string error = SendRequest(m_udp.Descriptor(), request, m_network, m_interfaces);
    if (error.empty())
        return true;
    err << "lanvista-cli: the request could not be sent: " << error << '\n';
    return false;
}

bool DeviceLink::InterfaceWanted(const std::string& name) const
{
    return m_interfaces.empty() || std::find(m_interfaces.begin(), m_interfaces.end(), name) != m_interfaces.end();
}

std::optional<DeviceReply> DeviceLink::NextReply(std::chrono::steady_clock::time_point deadline)
{
    while (const auto datagram = m_udp.Receive(deadline)) {
        AcceptedReply accepted = AcceptReply(datagram->data, datagram->size);
        if (accepted.kind == ReplyKind::Dropped)
            continue;
        const std::string& interface = m_udp.InterfaceName(datagram->interfaceIndex);
        if (!InterfaceWanted(interface))
            continue;
        DeviceReply reply;
        reply.kind = accepted.kind;
        if (accepted.record)
            reply.device = FoundDevice{std::move(*accepted.record), datagram->from, interface};
        return reply;
    }
    return std::nullopt;
}
