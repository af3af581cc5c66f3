#include "devsim/ReplyShaper.h"

#include "link/Datagram.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr std::size_t kShortReplySize = 100;
// Filler position that no reader looks at; varying it changes the checksum only.
constexpr std::size_t kSpareFiller = kDatagramSize - 1;

bool ChecksumHasLetter(const std::string& reply)
{
    return std::any_of(reply.begin(), reply.begin() + 8, [](char c) { return c >= 'A' && c <= 'F'; });
}

} // namespace

ReplyShaper::ReplyShaper(const UdpFaults& faults)
    : m_faults(faults)
{
}

QByteArray ReplyShaper::Shape(std::string reply) const
{
    if (m_faults.unknownCommand)
        reply[kCommandOffset + 1] = '2';
    reply = SealReply(std::move(reply));
    if (m_faults.lowercaseChecksum) {
        // An all-digit checksum reads the same in both cases; such a reply would still be
        // accepted, so the filler is varied until the lower-case form really differs.
        for (char c = 32; !ChecksumHasLetter(reply) && c < 127; ++c) {
            reply[kSpareFiller] = c;
            reply = SealReply(std::move(reply));
        }
        std::transform(reply.begin(), reply.begin() + 8, reply.begin(),
                       [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    }
    // Every digit changed: the field matches the checksum in neither case.
    if (m_faults.badChecksum)
        std::transform(reply.begin(), reply.begin() + 8, reply.begin(), [](char c) { return c == '0' ? '1' : '0'; });
    if (m_faults.shortReply)
        reply.resize(kShortReplySize);
    return QByteArray(reply.data(), static_cast<qsizetype>(reply.size()));
}
