// The firmware download's handling of any sequence of receives: status framing, the bound
// on the reply text, the end of the download and the announced image. The rules live in
// DownloadProperties, which the corpus test runs too.

#include "fuzz/DownloadProperties.h"
#include "fuzz/FuzzCheck.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    AbortOnFindings(CheckDownloadInput(data, size).findings);
    return 0;
}
