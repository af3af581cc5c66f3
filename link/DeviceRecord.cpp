#include "link/DeviceRecord.h"

#include <algorithm>

std::optional<DeviceRecord> DecodeDeviceRecord(std::string text)
{
    if (text.size() < kMinRecordLength)
        return std::nullopt;

    DeviceRecord record;
    record.mac12 = text.substr(kMacOffset, 12);
    record.macText = *MacTextOf(text);
    record.ip = *AddressFieldOf(text, kIpOffset);
    record.mask = *AddressFieldOf(text, kMaskOffset);
    record.gateway = *AddressFieldOf(text, kGatewayOffset);
    record.port = *PortFieldOf(text);
    record.dhcp = *DhcpFlagOf(text);
    record.version = VersionOf(text);
    record.text = std::move(text);
    return record;
}

AcceptedReply AcceptReply(const char* data, std::size_t length)
{
    AcceptedReply reply;
    reply.kind = ClassifyReply(data, length);
    if (reply.kind == ReplyKind::SearchReply) {
        const char* const end = std::find(data, data + length, '\0');
        reply.record = DecodeDeviceRecord(std::string(data, end));
    }
    return reply;
}

std::optional<DeviceRecord> AcceptSearchReply(const char* data, std::size_t length)
{
    return AcceptReply(data, length).record;
}

std::uint32_t PortToSave(std::uint32_t requested, std::uint16_t devicePort)
{
    constexpr std::uint32_t kLargestPort = 0xFFFF;
    return requested <= kLargestPort ? requested : devicePort;
}

std::string BuildSaveRequest(const DeviceRecord& device, const DeviceEdit& edit, std::uint32_t seed)
{
    return BuildSaveRequest(device.macText, edit.ip, edit.mask, edit.gateway, PortToSave(edit.port, device.port),
                            edit.dhcp, seed);
}
