#pragma once
// A search goes out once through each adapter of the PC, so a device on a segment that two
// adapters reach hears it twice and answers twice: the same answer, sent to each adapter's
// address. This tells such doubles from a device's own repeated or differing answers.

#include "link/SameAnswer.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

/// How a reply reached the PC.
struct ReplyPath {
    std::uint32_t sender = 0;       // first octet in the most significant byte
    std::uint16_t senderPort = 0;
    std::uint32_t destination = 0;  // the address it was sent to: an adapter's, or a broadcast
    unsigned interfaceIndex = 0;    // the adapter it came in on; 0 when the system did not say

    /// The same way in: sent to the same address and come in on the same adapter.
    bool SameWayAs(const ReplyPath& other) const
    {
        return destination == other.destination && interfaceIndex == other.interfaceIndex;
    }
};

/// The replies of one search, by the way each came in.
///
/// Two replies are the same answer as SameAnswer.h says. The first way an answer came in is its own. The same
/// answer by another way is a double, heard only because the search went out through more
/// than one adapter. By its own way it is never a double: a device that answers one request
/// twice is still heard twice, as with one adapter.
class AdapterDoubles {
public:
    /// Whether this accepted reply (at least the record's length) is a double; a reply that
    /// is not one is remembered with its way in.
    bool IsDouble(std::string_view reply, const ReplyPath& path);

    /// The ways in of the remembered replies that carry this MAC field (twelve characters,
    /// as the reply carries it), each once, in the order they were first heard.
    std::vector<ReplyPath> PathsOf(std::string_view mac12) const;

private:
    using MacKey = std::array<char, 12>;
    struct MacKeyHash {
        std::size_t operator()(const MacKey& key) const
        {
            return std::hash<std::string_view>{}(std::string_view(key.data(), key.size()));
        }
    };

    std::unordered_map<AnswerKey, ReplyPath, AnswerKeyHash> m_firstWay;
    std::unordered_map<MacKey, std::vector<ReplyPath>, MacKeyHash> m_waysByMac;
};
