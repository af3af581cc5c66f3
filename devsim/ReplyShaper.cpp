#include "devsim/ReplyShaper.h"

#include "link/Crc.h"
#include "link/Datagram.h"

#include <algorithm>

namespace {

constexpr std::size_t kShortReplySize = 100;
// Filler position that no reader looks at; varying it changes the checksum only.
constexpr std::size_t kSpareFiller = kDatagramSize - 1;

bool HasHexLetter(std::uint32_t crc)
{
    char text[8];
    FormatCrcLower(crc, text);
    return std::any_of(text, text + 8, [](char c) { return c >= 'a' && c <= 'f'; });
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
    // An all-digit checksum reads the same in both cases; such a reply would still be
    // accepted, so the filler is varied until the lower-case form really differs.
    if (m_faults.lowercaseChecksum)
        for (char c = 32; !HasHexLetter(ChecksumToWrite(reply)) && c < 127; ++c)
            reply[kSpareFiller] = c;
    const std::uint32_t checksum = ChecksumToWrite(reply);
    if (m_faults.lowercaseChecksum)
        FormatCrcLower(checksum, reply.data());
    else
        FormatCrcUpper(checksum, reply.data());
    if (m_faults.shortReply)
        reply.resize(kShortReplySize);
    return QByteArray(reply.data(), static_cast<qsizetype>(reply.size()));
}

std::uint32_t ReplyShaper::ChecksumToWrite(const std::string& reply) const
{
    const std::uint32_t crc = CalcCrc(reinterpret_cast<const unsigned char*>(reply.data()) + kCommandOffset,
                                      kDatagramSize - kCommandOffset);
    return m_faults.badChecksum ? ~crc : crc;
}
