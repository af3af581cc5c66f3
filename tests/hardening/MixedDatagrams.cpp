#include "MixedDatagrams.h"

#include "link/Datagram.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <random>

namespace {

// One period of the mix: valid search replies are a fifth of it.
constexpr std::array kMix{
    FloodKind::Garbage,      FloodKind::SearchReply,       FloodKind::Short,
    FloodKind::SaveReply,    FloodKind::ZeroInside,        FloodKind::WrongChecksum,
    FloodKind::Garbage,      FloodKind::UnknownCommand,    FloodKind::SearchReply,
    FloodKind::OverLongGarbage, FloodKind::LowercaseChecksum, FloodKind::SaveReply,
    FloodKind::Garbage,      FloodKind::SearchReply,       FloodKind::Short,
    FloodKind::ZeroInside,   FloodKind::OverLongSearchReply, FloodKind::WrongChecksum,
    FloodKind::UnknownCommand, FloodKind::SaveReply,
};

std::string RandomBytes(std::minstd_rand& random, std::size_t count)
{
    std::string bytes(count, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(random() & 0xFF);
    return bytes;
}

std::string SearchReply(std::size_t i, std::minstd_rand& random)
{
    const auto seed = static_cast<std::uint32_t>(random());
    return BuildSearchReply(FloodMac(i), 0x0A000000u + static_cast<std::uint32_t>(i), 0xFFFF0000, 0x0A000001,
                            static_cast<std::uint16_t>(1024 + i % 40000), i % 2 == 0, "3.07", seed);
}

std::size_t Between(std::minstd_rand& random, std::size_t low, std::size_t high)
{
    return std::uniform_int_distribution<std::size_t>(low, high)(random);
}

}  // namespace

FloodKind KindOf(std::size_t i)
{
    return kMix[i % kMix.size()];
}

std::string FloodMac(std::size_t i)
{
    char mac[13];
    std::snprintf(mac, sizeof mac, "%012zX", i);
    return mac;
}

std::string RecordOf(const std::string& datagram)
{
    return std::string(datagram.c_str());
}

FloodDatagram MixedDatagram(std::size_t i)
{
    std::minstd_rand random(static_cast<std::uint32_t>(i) + 1);
    const FloodKind kind = KindOf(i);
    switch (kind) {
    case FloodKind::Garbage:
        return {kind, RandomBytes(random, Between(random, 1, 1500))};
    case FloodKind::Short:
        return {kind, SearchReply(i, random).substr(0, Between(random, 1, kDatagramSize - 1))};
    case FloodKind::OverLongGarbage:
        return {kind, RandomBytes(random, Between(random, kDatagramSize + 1, 65507))};
    case FloodKind::ZeroInside: {
        std::string reply = SearchReply(i, random);
        reply[Between(random, kCommandOffset, kDatagramSize - 1)] = '\0';
        return {kind, SealReply(reply)};
    }
    case FloodKind::WrongChecksum: {
        std::string reply = SearchReply(i, random);
        const std::size_t digit = Between(random, 0, 7);
        reply[digit] = reply[digit] == '0' ? '1' : '0';
        return {kind, reply};
    }
    case FloodKind::LowercaseChecksum: {
        // Redrawn until the checksum holds a letter, so that lower case changes it.
        std::string reply;
        do {
            reply = SearchReply(i, random);
        } while (std::strpbrk(reply.substr(0, 8).c_str(), "ABCDEF") == nullptr);
        for (std::size_t k = 0; k < 8; ++k)
            reply[k] = static_cast<char>(std::tolower(static_cast<unsigned char>(reply[k])));
        return {kind, reply};
    }
    case FloodKind::UnknownCommand: {
        static constexpr std::array<const char*, 6> kCommands{"00", "01", "10", "22", "2 ", "12"};
        std::string reply = SearchReply(i, random);
        reply.replace(kCommandOffset, 2, kCommands[Between(random, 0, kCommands.size() - 1)]);
        return {kind, SealReply(reply)};
    }
    case FloodKind::SearchReply:
        return {kind, SearchReply(i, random)};
    case FloodKind::OverLongSearchReply: {
        std::string reply = SearchReply(i, random) + RandomBytes(random, Between(random, 1, 4000));
        return {kind, reply};
    }
    case FloodKind::SaveReply:
        break;
    }
    return {FloodKind::SaveReply, BuildSaveReply(static_cast<std::uint32_t>(random()))};
}
