#pragma once
// Search and save traffic of the tool: requests built by the core, sent on every adapter (or
// the ones asked for), and the replies the core accepts, with their sender and adapter.

#include "cli/Cli.h"
#include "cli/UdpLink.h"
#include "link/DeviceRecord.h"
#include "link/SameAnswer.h"
#include "platform/sockets/NetworkAdapter.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <ostream>
#include <span>
#include <functional>
#include <string>
#include <vector>

/// A device as one search reply showed it.
struct FoundDevice {
    DeviceRecord record;
    std::uint32_t from = 0;        // the reply's sender
    std::uint16_t fromPort = 0;
    std::string interface;         // the adapter it came in on, as the system names it; empty when unknown
    DatagramArrival arrival;       // the address it was sent to and the adapter's index
};

/// Devices in arrival order. A deque: thousands of replies grow it without moving what
/// came before.
using FoundDevices = std::deque<FoundDevice>;

/// An accepted reply: a search reply carries its device, a save reply nothing.
struct DeviceReply {
    ReplyKind kind = ReplyKind::Dropped;
    std::optional<FoundDevice> device;
};

/// The key of a device's reply as SameAnswer.h defines it.
AnswerKey AnswerKeyOf(const FoundDevice& device);

/// The moment seconds from now.
std::chrono::steady_clock::time_point DeadlineIn(double seconds);

/// The seed of a request's filler: the millisecond tick, as the dialog seeds it.
std::uint32_t TickSeed();

/// The search request for every device, or for the one with this MAC (twelve characters).
std::string SearchRequestFor(const std::optional<std::string>& mac12, std::uint32_t seed);

/// True when the record is the device with this MAC (letter case aside).
bool IsDevice(const DeviceRecord& record, const std::string& mac12);

/// The record's MAC field in upper case, as the command line and plans name devices.
std::string MacOf(const DeviceRecord& record);

/// "02:4C:56:00:00:01 at 10.0.0.5 (from 10.0.0.5 on eth0)": one device for a message.
std::string DeviceLine(const FoundDevice& device);

/// The ways a device's replies came in, for a save to go back by.
std::vector<DatagramArrival> WaysOf(const FoundDevices& replies);

class DeviceLink {
public:
    /// interfaces: the indexes of the adapters to use, every one when empty. verbose: where
    /// each send and each dropped datagram is described; nullptr for silence.
    DeviceLink(const CliNetwork& network, std::vector<int> interfaces, std::ostream* verbose);

    /// Opens the tool's UDP port. On failure the message is written to err and the exit code
    /// returned; std::nullopt when the port is open.
    std::optional<int> Open(std::ostream& err);
    /// Sends a request (back only the ways `heard` came in, when given); false, with the
    /// message written to err, when it went out nowhere.
    bool Send(const std::string& request, std::ostream& err, std::span<const DatagramArrival> heard = {});
    /// The next accepted reply that comes in before deadline on an adapter asked for;
    /// std::nullopt once the deadline has passed. A datagram whose answer `known` says was
    /// taken in already is passed over unread (unless verbose, which explains every
    /// datagram): a repeated search brings thousands of these.
    std::optional<DeviceReply> NextReply(std::chrono::steady_clock::time_point deadline,
                                         const std::function<bool(const AnswerKey&)>& known = {});
    /// Forgets replies that have come in but were not read.
    void Drain() { m_udp.Drain(); }
    /// Tells the verbose stream that a reply was set aside, and why.
    void NoteDropped(const FoundDevice& device, const char* reason);
    /// The adapters the last request went out by ("eth0 (10.0.0.1)"), for a note to the user.
    const std::string& AdaptersUsed() const { return m_adaptersUsed; }

private:
    bool InterfaceWanted(int index) const;
    void NoteDropped(const LinkDatagram& datagram, const char* reason);

    CliNetwork m_network;
    std::vector<int> m_interfaces;
    std::ostream* m_verbose;
    std::string m_adaptersUsed;
    UdpLink m_udp;
};
