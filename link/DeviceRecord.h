#pragma once
// One device server as its search reply describes it, and the one place that decides
// which received datagrams are replies at all.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "link/Datagram.h"

/// The decoded fields of a device record: the text of an accepted search reply.
struct DeviceRecord {
    std::string text;        // the reply up to its first zero byte, checksum field included
    std::string mac12;       // positions 10-21 as they are
    std::string macText;     // the same as the device list shows it: six pairs joined by ':'
    std::uint32_t ip = 0;    // first octet in the most significant byte
    std::uint32_t mask = 0;
    std::uint32_t gateway = 0;
    std::uint16_t port = 0;
    bool dhcp = false;
    std::optional<std::string> version;  // as shown (" 3.07"); absent when not in that form
};

/// The record a text holds; std::nullopt when it is too short to hold every shown field.
std::optional<DeviceRecord> DecodeDeviceRecord(std::string text);

/// A datagram received on the endpoint, judged by every acceptance rule.
struct AcceptedReply {
    ReplyKind kind = ReplyKind::Dropped;
    std::optional<DeviceRecord> record;  // set exactly when kind is SearchReply
};

/// Sealed with the upper-case checksum, at least 128 bytes with no zero among the first
/// 128, command "20" or "21". A search reply's record is the text up to the first zero
/// byte of data (all of it when there is none). Never reads beyond length.
AcceptedReply AcceptReply(const char* data, std::size_t length);

/// The record of an accepted search reply; std::nullopt for anything else.
std::optional<DeviceRecord> AcceptSearchReply(const char* data, std::size_t length);

/// What a Save writes into a device besides its MAC.
struct DeviceEdit {
    std::uint32_t ip = 0;
    std::uint32_t mask = 0;
    std::uint32_t gateway = 0;
    std::uint32_t port = 0;
    int dhcp = 0;  // 1 = on
};

/// The port a save request carries: the requested one when it fits the port field,
/// otherwise the device's own, so a value that does not fit never reaches the device.
std::uint32_t PortToSave(std::uint32_t requested, std::uint16_t devicePort);

/// The save request for device with the edited fields (the port as PortToSave gives it).
std::string BuildSaveRequest(const DeviceRecord& device, const DeviceEdit& edit, std::uint32_t seed);
