#include "cli/SearchRounds.h"

#include "link/Datagram.h"

#include <algorithm>
#include <sstream>

namespace {

// At most this many rounds. Under 20 % loss each way a device misses one round in three,
// and all eight about once in 3,500 (per device).
constexpr int kRounds = 8;
// A search ends its asking once rounds in a row in which every known device answered again
// and nobody new did have brought this many answers: under 20 % loss each way all of them
// come through with odds of 0.64^16, about one in 1,250. One such round of twenty devices is
// enough, a lone device is asked every round.
constexpr std::size_t kAnswersWithoutLoss = 16;
// Rounds are never closer than this, so a slow device's answer is not met by the next request.
constexpr double kShortestRoundSeconds = 0.1;

} // namespace

SearchRounds::SearchRounds(DeviceLink& link, std::optional<std::string> mac12, double timeoutSeconds)
    : m_link(link), m_mac12(std::move(mac12)), m_timeoutSeconds(timeoutSeconds)
{
}

bool SearchRounds::HeardBefore(const AnswerKey& answer)
{
    const auto found = m_answers.find(answer);
    if (found == m_answers.end())
        return false;
    if (found->second != m_round) {
        found->second = m_round;
        ++m_cameAgain;
    }
    return true;
}

bool SearchRounds::AskAgain()
{
    // The first round has nothing to be compared with. After it, a round in which a new
    // device answered, or a known one did not, shows datagrams going astray, and a round
    // that heard nothing may have lost everything.
    const bool newcomers = m_answers.size() > m_knownBeforeRound;
    if (m_round < 2 || m_answers.empty() || newcomers || m_cameAgain < m_knownBeforeRound)
        m_answersWithoutLoss = 0;
    else
        m_answersWithoutLoss += m_cameAgain;
    return m_round < kRounds && m_answersWithoutLoss < kAnswersWithoutLoss;
}

bool SearchRounds::Run(FoundDevices& devices, const Stop& stop, const Heard& heard, std::ostream& err)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point end = DeadlineIn(m_timeoutSeconds);
    const auto roundLength = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(std::max(kShortestRoundSeconds, m_timeoutSeconds / kRounds)));
    Clock::time_point nextRound = Clock::now();
    bool sentOnce = false;
    std::ostringstream lastFailure;
    const auto known = [this](const AnswerKey& answer) { return HeardBefore(answer); };
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
            if (AskAgain()) {
                lastFailure.str({});
                sentOnce = m_link.Send(SearchRequestFor(m_mac12, TickSeed()), lastFailure) || sentOnce;
                ++m_round;
                m_knownBeforeRound = m_answers.size();
                m_cameAgain = 0;
                nextRound = now + roundLength;
            } else {
                // Late answers are still taken until the timeout.
                nextRound = end;
            }
        }
        while (auto reply = m_link.NextReply(std::min(nextRound, end), known)) {
            if (!reply->device)
                continue;
            FoundDevice& device = *reply->device;
            // A device that answers a search meant for another is not the one asked for.
            if (m_mac12 && !IsDevice(device.record, *m_mac12)) {
                m_link.NoteDropped(device, "another device's MAC");
                continue;
            }
            const AnswerKey answer = AnswerKeyOf(device);
            if (HeardBefore(answer))
                continue;
            m_answers.emplace(answer, m_round);
            devices.push_back(std::move(device));
            heard(devices.back());
            if (stop(devices))
                return true;
        }
    }
}
