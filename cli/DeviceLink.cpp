#include "cli/DeviceLink.h"

#include "cli/ErrorText.h"
#include "cli/ExitCode.h"
#include "cli/InputText.h"
#include "cli/RequestSend.h"
#include "cli/SafeText.h"
#include "link/Datagram.h"

#include <algorithm>
#include <array>
#include <cctype>

AnswerKey AnswerKeyOf(const FoundDevice& device)
{
    return AnswerKeyOf(device.record.text, device.from, device.fromPort);
}

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

std::string MacOf(const DeviceRecord& record)
{
    std::string mac = record.mac12;
    for (char& c : mac)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return mac;
}

std::string DeviceLine(const FoundDevice& device)
{
    std::string line = PrintableText(device.record.macText) + " at " + DottedAddress(device.record.ip) +
                       " (from " + DottedAddress(device.from);
    if (!device.interface.empty())
        line += " on " + PrintableText(device.interface);
    return line + ")";
}

std::vector<DatagramArrival> WaysOf(const FoundDevices& replies)
{
    std::vector<DatagramArrival> ways;
    for (const FoundDevice& reply : replies)
        ways.push_back(reply.arrival);
    return ways;
}

DeviceLink::DeviceLink(const CliNetwork& network, std::vector<int> interfaces, std::ostream* verbose)
    : m_network(network), m_interfaces(std::move(interfaces)), m_verbose(verbose)
{
}

std::optional<int> DeviceLink::Open(std::ostream& err)
{
    const int error = m_udp.Open(m_network.localUdpPort);
    if (error == 0)
        return std::nullopt;
    if (error == WSAEADDRINUSE)
        err << "lanvista-cli: UDP port " << m_network.localUdpPort
            << " is already in use, most likely by an open Lanvista window; close it and try again\n";
    else
        err << "lanvista-cli: cannot open UDP port " << m_network.localUdpPort << ": " << SocketErrorText(error) << '\n';
    return kExitNetwork;
}

bool DeviceLink::Send(const std::string& request, std::ostream& err, std::span<const DatagramArrival> heard)
{
    const RequestSent sent = SendRequest(m_udp.Socket(), request, m_network, m_interfaces, heard);
    m_adaptersUsed.clear();
    for (const NetworkAdapter& adapter : sent.adapters) {
        if (!m_adaptersUsed.empty())
            m_adaptersUsed += ", ";
        m_adaptersUsed += PrintableText(adapter.name) + " (" + DottedAddress(ntohl(adapter.address.s_addr)) + ")";
    }
    if (m_verbose && sent.error.empty()) {
        *m_verbose << "lanvista-cli: sent request " << request.substr(kCommandOffset, 2) << " to "
                   << m_network.udpDestination << ':' << m_network.remoteUdpPort;
        *m_verbose << (m_adaptersUsed.empty() ? std::string(", routed as usual") : " through " + m_adaptersUsed)
                   << '\n';
    }
    if (sent.error.empty())
        return true;
    err << "lanvista-cli: the request could not be sent: " << sent.error << '\n';
    return false;
}

bool DeviceLink::InterfaceWanted(int index) const
{
    return m_interfaces.empty() || std::find(m_interfaces.begin(), m_interfaces.end(), index) != m_interfaces.end();
}

void DeviceLink::NoteDropped(const LinkDatagram& datagram, const char* reason)
{
    if (!m_verbose)
        return;
    *m_verbose << "lanvista-cli: dropped a " << datagram.size << "-byte datagram from " << DottedAddress(datagram.from)
               << ':' << datagram.fromPort;
    const std::string& interface = m_udp.InterfaceName(datagram.interfaceIndex);
    if (!interface.empty())
        *m_verbose << " on " << PrintableText(interface);
    *m_verbose << ": " << reason << '\n';
}

void DeviceLink::NoteDropped(const FoundDevice& device, const char* reason)
{
    if (m_verbose)
        *m_verbose << "lanvista-cli: set aside the reply of " << DeviceLine(device) << ": " << reason << '\n';
}

std::optional<DeviceReply> DeviceLink::NextReply(std::chrono::steady_clock::time_point deadline,
                                                 const std::function<bool(const AnswerKey&)>& known)
{
    while (const auto datagram = m_udp.Receive(deadline)) {
        // Accepted replies have no zero byte in their first 128, so the raw positions are the
        // record's; whatever else such a datagram holds, its device is listed already.
        if (known && !m_verbose && datagram->size >= kMinRecordLength &&
            known(AnswerKeyOf(std::string_view(datagram->data, datagram->size), datagram->from,
                                        datagram->fromPort)))
            continue;
        AcceptedReply accepted = AcceptReply(datagram->data, datagram->size);
        if (accepted.kind == ReplyKind::Dropped) {
            // The tool's own requests come back on every adapter of their segment.
            if (m_verbose) {
                const bool request = ReadSearchRequest(datagram->data, datagram->size) ||
                                     ReadSaveRequest(datagram->data, datagram->size);
                NoteDropped(*datagram, request ? "a request, not a reply"
                                               : DropReasonText(WhyDropped(datagram->data, datagram->size)));
            }
            continue;
        }
        if (!InterfaceWanted(datagram->interfaceIndex)) {
            NoteDropped(*datagram, "came in on an adapter not asked for");
            continue;
        }
        DeviceReply reply;
        reply.kind = accepted.kind;
        if (accepted.record) {
            DatagramArrival arrival;
            arrival.destination.s_addr = htonl(datagram->destination);
            arrival.interfaceIndex = static_cast<unsigned>(datagram->interfaceIndex);
            reply.device = FoundDevice{std::move(*accepted.record), datagram->from, datagram->fromPort,
                                       m_udp.InterfaceName(datagram->interfaceIndex), arrival};
        }
        return reply;
    }
    return std::nullopt;
}
