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
    static_assert(std::tuple_size_v<AnswerKey> ==
                  6 + (kDhcpOffset + 1 - kCommandOffset) + (kMinRecordLength - kVersionOffset));
    if (reply.size() < kMinRecordLength)
        return false;
    // The same answer: the same sender, and every position that is read.
    AnswerKey key{};
    char* out = key.data();
    for (int shift = 24; shift >= 0; shift -= 8)
        *out++ = static_cast<char>(path.sender >> shift);
    *out++ = static_cast<char>(path.senderPort >> 8);
    *out++ = static_cast<char>(path.senderPort);
    out = std::copy(reply.begin() + kCommandOffset, reply.begin() + kDhcpOffset + 1, out);
    std::copy(reply.begin() + kVersionOffset, reply.begin() + kMinRecordLength, out);

    const auto [answer, first] = m_firstWay.try_emplace(key, path);
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
