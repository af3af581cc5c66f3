// apply's plan reader, for any file a user may hand it. Besides memory safety it checks what
// a reading must satisfy whatever the text: a plan without problems names each device by a
// MAC of twelve upper-case hex digits, no MAC twice, and says where each device stands.

#include "cli/PlanFile.h"
#include "fuzz/FuzzCheck.h"

#include <cstdint>
#include <set>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Plan plan = ReadPlan(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!plan.problems.empty())
        return 0;
    std::set<std::string> macs;
    for (const PlannedDevice& device : plan.devices) {
        FUZZ_CHECK(device.mac12.size() == 12);
        for (const char c : device.mac12)
            FUZZ_CHECK((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'));
        FUZZ_CHECK(macs.insert(device.mac12).second);
        FUZZ_CHECK(!device.where.empty());
        FUZZ_CHECK(!device.port || *device.port != 0);
    }
    return 0;
}
