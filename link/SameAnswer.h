#pragma once
// When two search replies are the same answer: the same sender, and every position a reply
// is read for (command, MAC, addresses, port, DHCP flag, version). Positions that are never
// read may differ, as devices may fill them at random.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

/// Sender, port, positions 8-50 and 60-65. Fixed size: a burst of thousands of replies
/// allocates no key of its own.
using AnswerKey = std::array<char, 55>;

/// The key of a reply at least kMinRecordLength bytes long.
AnswerKey AnswerKeyOf(std::string_view reply, std::uint32_t sender, std::uint16_t senderPort);

struct AnswerKeyHash {
    std::size_t operator()(const AnswerKey& key) const
    {
        return std::hash<std::string_view>{}(std::string_view(key.data(), key.size()));
    }
};
