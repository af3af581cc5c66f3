#include "link/AdapterDoubles.h"

#include "link/Datagram.h"

#include <algorithm>

namespace {

template <std::size_t N>
std::array<char, N> KeyOf(std::string_view bytes)
{
    std::array<char, N> key{};
    std::copy_n(bytes.begin(), std::min(N, bytes.size()), key.begin());
    return key;
}

}  // namespace

bool AdapterDoubles::IsDouble(std::string_view reply, const ReplyPath& path)
{
    if (reply.size() < kMinRecordLength)
        return false;
    const auto [answer, first] = m_firstWay.try_emplace(AnswerKeyOf(reply, path.sender, path.senderPort), path);
    if (!first)
        return !answer->second.SameWayAs(path);

    std::vector<ReplyPath>& ways = m_waysByMac[KeyOf<12>(reply.substr(kMacOffset, 12))];
    if (std::none_of(ways.begin(), ways.end(), [&](const ReplyPath& way) { return way.SameWayAs(path); }))
        ways.push_back(path);
    return false;
}

std::vector<ReplyPath> AdapterDoubles::PathsOf(std::string_view mac12) const
{
    if (mac12.size() != 12)
        return {};
    const auto ways = m_waysByMac.find(KeyOf<12>(mac12));
    return ways == m_waysByMac.end() ? std::vector<ReplyPath>{} : ways->second;
}
