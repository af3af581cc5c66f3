#pragma once
// What one simulated device server keeps in memory.

#include <cstdint>
#include <string>
#include <vector>

struct DeviceSettings {
    std::string mac12;   // 12 upper-case hex characters, first octet first
    std::uint32_t ip = 0;      // first octet in the most significant byte
    std::uint32_t mask = 0;
    std::uint32_t gateway = 0;
    std::uint16_t port = 9100;
    bool dhcp = false;
    std::string version;  // "d.dd"
};

// count devices with MACs and IPs counting up from the first ones, mask 255.255.255.0
// and the .1 address of the first device's network as gateway. The caller keeps both
// counts within range.
std::vector<DeviceSettings> MakeDevices(int count, std::uint64_t firstMac, std::uint32_t firstIp, bool dhcp,
                                        const std::string& version);

// The MAC field of a request names this device (either letter case).
bool MacMatches(const DeviceSettings& device, const std::string& mac12);
