// Reply acceptance and the record display path, for any datagram up to the largest
// IPv4 UDP payload. Random bytes almost never carry a valid checksum, so each input
// is also tried with its checksum field sealed: that is what reaches the field readers.

#include "fuzz/ExactBuffer.h"
#include "fuzz/FuzzCheck.h"
#include "link/Datagram.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace {

constexpr std::size_t kMaxUdpPayload = 65507;

// Everything the dialog reads from a device record, and the Save workflow's patch.
void ReadRecord(std::string_view record)
{
    const std::size_t n = record.size();

    const auto mac = MacTextOf(record);
    FUZZ_CHECK(mac.has_value() == (n >= kMacOffset + 12));
    if (mac) {
        FUZZ_CHECK(mac->size() == 17);
        for (std::size_t colon = 2; colon < 17; colon += 3)
            FUZZ_CHECK((*mac)[colon] == ':');
    }

    for (const std::size_t offset : {kIpOffset, kMaskOffset, kGatewayOffset})
        FUZZ_CHECK(AddressFieldOf(record, offset).has_value() == (n >= offset + 8));
    FUZZ_CHECK(PortFieldOf(record).has_value() == (n >= kPortOffset + 4));
    FUZZ_CHECK(DhcpFlagOf(record).has_value() == (n > kDhcpOffset));

    if (const auto version = VersionOf(record)) {
        FUZZ_CHECK(n >= kMinRecordLength);
        FUZZ_CHECK(version->size() == 5 && (*version)[0] == ' ' && (*version)[2] == '.');
    }

    const std::uint32_t ip = 0xC0A80001, mask = 0xFFFFFF00, gateway = 0xC0A800FE;
    const auto edited = PatchRecordAddresses(record, ip, mask, gateway);
    FUZZ_CHECK(edited.has_value() == (n >= kGatewayOffset + 8));
    if (edited) {
        FUZZ_CHECK(edited->size() == n);
        FUZZ_CHECK(edited->compare(0, kIpOffset, record.substr(0, kIpOffset)) == 0);
        FUZZ_CHECK(edited->compare(kPortOffset, std::string::npos, record.substr(kPortOffset)) == 0);
        FUZZ_CHECK(AddressFieldOf(*edited, kIpOffset) == ip);
        FUZZ_CHECK(AddressFieldOf(*edited, kMaskOffset) == mask);
        FUZZ_CHECK(AddressFieldOf(*edited, kGatewayOffset) == gateway);
    }
}

// As the endpoint does it: the received bytes, a terminating zero after them, the
// verdict, and for a search reply the text up to the zero as the device record.
// Returns the verdict.
ReplyKind Receive(const char* bytes, std::size_t size)
{
    const ExactBuffer received(bytes, size);
    const ReplyKind kind = ClassifyReply(received.data(), received.size());
    if (kind == ReplyKind::Dropped)
        return kind;

    FUZZ_CHECK(size >= kDatagramSize);
    FUZZ_CHECK(std::memchr(bytes, 0, kDatagramSize) == nullptr);
    FUZZ_CHECK(bytes[kCommandOffset] == '2');
    FUZZ_CHECK(bytes[kCommandOffset + 1] == (kind == ReplyKind::SearchReply ? '0' : '1'));
    if (kind == ReplyKind::SearchReply) {
        std::string terminated(bytes, size);
        const ExactBuffer record(terminated.c_str(), std::strlen(terminated.c_str()));
        FUZZ_CHECK(record.size() >= kDatagramSize);
        ReadRecord(record.view());
    }
    return kind;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > kMaxUdpPayload)
        return -1;
    const char* bytes = reinterpret_cast<const char*>(data);

    Receive(bytes, size);

    if (size >= kDatagramSize) {
        const std::string sealed = SealReply(std::string(bytes, size));
        const bool clean = std::memchr(sealed.data(), 0, kDatagramSize) == nullptr;
        const bool replyCommand = sealed[kCommandOffset] == '2' &&
                                  (sealed[kCommandOffset + 1] == '0' || sealed[kCommandOffset + 1] == '1');
        const ReplyKind kind = Receive(sealed.data(), sealed.size());
        FUZZ_CHECK((kind != ReplyKind::Dropped) == (clean && replyCommand));
    }

    // Records no accepted reply yields (short, or cut by a zero byte) read safely too.
    const ExactBuffer raw(bytes, size);
    ReadRecord(raw.view());
    return 0;
}
