#pragma once
// Search and save traffic of the tool: requests built by the core, sent on every adapter (or
// the ones named), and the replies the core accepts, with their sender and adapter.

#include "cli/Cli.h"
#include "cli/UdpLink.h"
#include "link/DeviceRecord.h"

#include <chrono>
#include <deque>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

/// A device as one search reply showed it.
struct FoundDevice {
    DeviceRecord record;
    std::uint32_t from = 0;    // the reply's sender
    std::string interface;     // the adapter it came in on; empty when unknown
};

/// Devices in arrival order. A deque: thousands of replies grow it without moving what
/// came before.
using FoundDevices = std::deque<FoundDevice>;

/// An accepted reply: a search reply carries its device, a save reply nothing.
struct DeviceReply {
    ReplyKind kind = ReplyKind::Dropped;
    std::optional<FoundDevice> device;
};

/// The moment seconds from now.
std::chrono::steady_clock::time_point DeadlineIn(double seconds);

/// The seed of a request's filler: the millisecond tick, as the dialog seeds it.
std::uint32_t TickSeed();

/// The search request for every device, or for the one with this MAC (twelve characters).
std::string SearchRequestFor(const std::optional<std::string>& mac12, std::uint32_t seed);

/// True when the record is the device with this MAC (letter case aside).
bool IsDevice(const DeviceRecord& record, const std::string& mac12);

class DeviceLink {
public:
    DeviceLink(const CliNetwork& network, std::vector<std::string> interfaces);

    /// Opens the tool's UDP port. On failure the message is written to err and the exit code
    /// returned; std::nullopt when the port is open.
    std::optional<int> Open(std::ostream& err);
    /// Sends a request; false, with the message written to err, when it went out nowhere.
    bool Send(const std::string& request, std::ostream& err);
    /// The next accepted reply that comes in before deadline on an adapter asked for;
    /// std::nullopt once the deadline has passed.
    std::optional<DeviceReply> NextReply(std::chrono::steady_clock::time_point deadline);
    /// Forgets replies that have come in but were not read.
    void Drain() { m_udp.Drain(); }

private:
    bool InterfaceWanted(const std::string& name) const;

    CliNetwork m_network;
    std::vector<std::string> m_interfaces;
    UdpLink m_udp;
};
