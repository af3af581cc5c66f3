#include "cli/SearchRounds.h"

#include "link/Datagram.h"

#include <algorithm>
#include <sstream>

namespace {

// Rounds per search: under 20 % loss each way a device misses one round in three, and all
// eight about once in 3,500 (per device).
constexpr int kRounds = 8;
// Rounds are never closer than this, so a slow device's answer is not met by the next request.
constexpr double kShortestRoundSeconds = 0.1;

// A device: its sender, and the fields its reply is read for.
std::string DeviceKey(const FoundDevice& device)
{
    const std::string& text = device.record.text;
    std::string key(reinterpret_cast<const char*>(&device.from), sizeof device.from);
    key.append(reinterpret_cast<const char*>(&device.fromPort), sizeof device.fromPort);
    key.append(text, kCommandOffset, kDhcpOffset + 1 - kCommandOffset);
    key.append(text, kVersionOffset, kMinRecordLength - kVersionOffset);
    return key;
}

} // namespace

SearchRounds::SearchRounds(DeviceLink& link, std::optional<std::string> mac12, double timeoutSeconds)
    : m_link(link), m_mac12(std::move(mac12)), m_timeoutSeconds(timeoutSeconds)
{
}

bool SearchRounds::Run(FoundDevices& devices, const Stop& stop, const Heard& heard, std::ostream& err)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point end = DeadlineIn(m_timeoutSeconds);
    const double roundSeconds = std::max(kShortestRoundSeconds, m_timeoutSeconds / kRounds);
    Clock::time_point nextRound = Clock::now();
    bool sentOnce = false;
    std::ostringstream lastFailure;
    for (;;) {
        const Clock::time_point now = Clock::now();
        if (now >= end) {
            // A round that could not go out is lost like a dropped datagram; only a search none
            // of whose rounds went out is a failure.
            if (!sentOnce)
                err << lastFailure.str();
            return sentOnce;
        }
        if (now >= nextRound) {
            lastFailure.str({});
            sentOnce = m_link.Send(SearchRequestFor(m_mac12, TickSeed()), lastFailure) || sentOnce;
            nextRound = now + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(roundSeconds));
        }
        while (auto reply = m_link.NextReply(std::min(nextRound, end))) {
            if (!reply->device)
                continue;
            FoundDevice& device = *reply->device;
            // A device that answers a search meant for another is not the one asked for.
            if (m_mac12 && !IsDevice(device.record, *m_mac12)) {
                m_link.NoteDropped(device, "another device's MAC");
                continue;
            }
            if (!m_seen.insert(DeviceKey(device)).second)
                continue;
            devices.push_back(std::move(device));
            heard(devices.back());
            if (stop(devices))
                return true;
        }
    }
}
