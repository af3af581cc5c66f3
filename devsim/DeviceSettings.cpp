#include "devsim/DeviceSettings.h"

#include <cctype>
#include <cstdio>

namespace {

constexpr std::uint32_t kClassCMask = 0xFFFFFF00u;

std::string FormatMac(std::uint64_t mac)
{
    char text[13];
    std::snprintf(text, sizeof text, "%012llX", static_cast<unsigned long long>(mac));
    return std::string(text, 12);
}

} // namespace

std::vector<DeviceSettings> MakeDevices(int count, std::uint64_t firstMac, std::uint32_t firstIp, bool dhcp,
                                        const std::string& version)
{
    std::vector<DeviceSettings> devices;
    devices.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        DeviceSettings device;
        device.mac12 = FormatMac(firstMac + static_cast<std::uint64_t>(i));
        device.ip = firstIp + static_cast<std::uint32_t>(i);
        device.mask = kClassCMask;
        device.gateway = (firstIp & kClassCMask) | 1u;
        device.dhcp = dhcp;
        device.version = version;
        devices.push_back(device);
    }
    return devices;
}

bool MacMatches(const DeviceSettings& device, const std::string& mac12)
{
    if (mac12.size() != device.mac12.size())
        return false;
    for (std::size_t i = 0; i < mac12.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(mac12[i])) != device.mac12[i])
            return false;
    return true;
}
