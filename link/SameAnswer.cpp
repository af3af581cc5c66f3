#include "link/SameAnswer.h"

#include "link/Datagram.h"

#include <algorithm>
#include <tuple>

AnswerKey AnswerKeyOf(std::string_view reply, std::uint32_t sender, std::uint16_t senderPort)
{
    static_assert(std::tuple_size_v<AnswerKey> ==
                  6 + (kDhcpOffset + 1 - kCommandOffset) + (kMinRecordLength - kVersionOffset));
    AnswerKey key{};
    char* out = key.data();
    for (int shift = 24; shift >= 0; shift -= 8)
        *out++ = static_cast<char>(sender >> shift);
    *out++ = static_cast<char>(senderPort >> 8);
    *out++ = static_cast<char>(senderPort);
    out = std::copy(reply.begin() + kCommandOffset, reply.begin() + kDhcpOffset + 1, out);
    std::copy(reply.begin() + kVersionOffset, reply.begin() + kMinRecordLength, out);
    return key;
}
