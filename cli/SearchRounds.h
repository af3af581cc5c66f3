#pragma once
// One search as the tool makes it: the request goes out again a few times within the
// timeout, so that a request or a reply lost on the way is made up by the next round, and
// the replies are merged by device.

#include "cli/DeviceLink.h"

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <unordered_set>

class SearchRounds {
public:
    /// True once the search has heard enough and may end before the timeout.
    using Stop = std::function<bool(const FoundDevices&)>;
    /// Told of each device when it is first heard.
    using Heard = std::function<void(const FoundDevice&)>;

    /// mac12: the device searched for (its replies alone count); every device when absent.
    SearchRounds(DeviceLink& link, std::optional<std::string> mac12, double timeoutSeconds);

    /// Searches until the timeout or until stop says so, appending each device heard once to
    /// devices. A device is a sender and the fields its reply is read for: a device that
    /// answers every round is listed once, one that answers differently is listed again.
    /// False, with the message written to err, when a request could not be sent at all.
    bool Run(FoundDevices& devices, const Stop& stop, const Heard& heard, std::ostream& err);

private:
    DeviceLink& m_link;
    std::optional<std::string> m_mac12;
    double m_timeoutSeconds;
    std::unordered_set<std::string> m_seen;
};
