#pragma once
// One search as the tool makes it: the request goes out again within the timeout while there
// is a sign that something was lost on the way, and the replies are merged by device.

#include "cli/DeviceLink.h"

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <unordered_map>

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
    /// Whether this answer was taken in already; notes that it came again this round.
    bool HeardBefore(const AnswerKey& answer);
    /// Whether to send another round, the round before having ended.
    bool AskAgain();

    DeviceLink& m_link;
    std::optional<std::string> m_mac12;
    double m_timeoutSeconds;
    // Each answer taken in, with the last round it came in.
    std::unordered_map<AnswerKey, int, AnswerKeyHash> m_answers;
    int m_round = 0;
    std::size_t m_knownBeforeRound = 0;
    std::size_t m_cameAgain = 0;  // answers known before this round that came in it
    std::size_t m_answersWithoutLoss = 0;  // answers of the last rounds that showed no loss
};
