#pragma once
// The datagrams of a flood at the dialog's endpoint: what a crowded or hostile segment
// can send. Datagram i is the same on every call, so a test can tell what it sent.

#include <cstddef>
#include <string>

enum class FloodKind {
    Garbage,            // random bytes, 1 to 1500 of them
    Short,              // the first 1 to 127 bytes of a valid search reply
    OverLongGarbage,    // random bytes, 129 up to 65,507 (the largest UDP payload)
    ZeroInside,         // a search reply with a zero byte in its first 128, sealed again
    WrongChecksum,      // a search reply with one checksum digit changed
    LowercaseChecksum,  // a search reply sealed in lower case
    UnknownCommand,     // sealed, with a command other than 20 and 21
    SearchReply,        // valid, 128 bytes
    OverLongSearchReply,// valid first 128 bytes and up to 4,000 more (some with a zero)
    SaveReply,          // valid
};

struct FloodDatagram {
    FloodKind kind;
    std::string bytes;  // never empty
};

FloodDatagram MixedDatagram(std::size_t i);
// The kind of datagram i, without making it.
FloodKind KindOf(std::size_t i);

// The 12 MAC characters of search reply i.
std::string FloodMac(std::size_t i);

// What the dialog keeps as the record of an accepted search reply: its text up to the
// first zero byte.
std::string RecordOf(const std::string& datagram);
