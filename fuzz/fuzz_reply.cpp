// Reply acceptance, the device record and the save request built from it, for any datagram
// up to the largest IPv4 UDP payload. The rules live in ReplyProperties, which the corpus
// test runs too.

#include "fuzz/FuzzCheck.h"
#include "fuzz/ReplyProperties.h"

#include <cstddef>
#include <cstdint>

namespace {

constexpr std::size_t kMaxUdpPayload = 65507;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > kMaxUdpPayload)
        return -1;
    AbortOnFindings(CheckReplyInput(data, size).findings);
    return 0;
}
