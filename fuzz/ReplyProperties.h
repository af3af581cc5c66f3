#pragma once
// What must hold for any datagram that reaches the endpoint: the verdict of reply
// acceptance, the device record it yields and the save request built from that record.

#include "fuzz/Findings.h"
#include "link/Datagram.h"

#include <cstddef>
#include <cstdint>

struct ReplyRun {
    ReplyKind kind = ReplyKind::Dropped;  // the verdict on the input as received
    Findings findings;
};

/// Runs one received datagram through AcceptReply and DecodeDeviceRecord, and again with
/// its checksum field sealed (random bytes almost never carry a valid one).
ReplyRun CheckReplyInput(const std::uint8_t* data, std::size_t size);
