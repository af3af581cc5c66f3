#include "link/AdapterDoubles.h"

#include "link/Datagram.h"

#include <algorithm>

namespace {

// What makes two replies the same answer: the sender, then every position that is read.
std::string AnswerKey(std::string_view reply, const ReplyPath& path)
{
    std::string key;
    key.reserve(6 + kMinRecordLength);
    for (int shift = 24; shift >= 0; shift -= 8)
        key.push_back(static_cast<char>(path.sender >> shift));
    key.push_back(static_cast<char>(path.senderPort >> 8));
    key.push_back(static_cast<char>(path.senderPort));
    key.append(reply.substr(kCommandOffset, kDhcpOffset + 1 - kCommandOffset));
    key.append(reply.substr(kVersionOffset, kMinRecordLength - kVersionOffset));
    return key;
}

}  // namespace

bool AdapterDoubles::IsDouble(std::string_view reply, const ReplyPath& path)
{
    if (reply.size() < kMinRecordLength)
        return false;
    const auto [answer, first] = m_firstWay.try_emplace(AnswerKey(reply, path), path);
    if (!first)
        return !answer->second.SameWayAs(path);

    std::vector<ReplyPath>& ways = m_waysByMac[std::string(reply.substr(kMacOffset, 12))];
    if (std::none_of(ways.begin(), ways.end(), [&](const ReplyPath& way) { return way.SameWayAs(path); }))
        ways.push_back(path);
    return false;
}

std::vector<ReplyPath> AdapterDoubles::PathsOf(std::string_view mac12) const
{
    const auto ways = m_waysByMac.find(std::string(mac12));
    return ways == m_waysByMac.end() ? std::vector<ReplyPath>{} : ways->second;
}
