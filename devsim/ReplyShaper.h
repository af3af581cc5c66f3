#pragma once
// Turns a correctly sealed reply into the datagram devsim sends, with the UDP faults
// applied.

#include "devsim/DevsimOptions.h"

#include <QByteArray>

#include <string>

class ReplyShaper {
public:
    explicit ReplyShaper(const UdpFaults& faults);

    // reply: 128 bytes as BuildSearchReply or BuildSaveReply made it.
    QByteArray Shape(std::string reply) const;

private:
    UdpFaults m_faults;
};
