#include "cli/SettingsRules.h"

#include "cli/InputText.h"

#include <algorithm>

namespace {

bool IsContiguous(std::uint32_t mask)
{
    // Ones from the top, then zeros: inverted, it is one less than a power of two.
    const std::uint32_t rest = ~mask;
    return (rest & (rest + 1)) == 0;
}

// Why an address cannot be a device's own in its subnet; empty when it can.
std::string AddressProblem(std::uint32_t address, std::uint32_t mask)
{
    if (address == 0)
        return "0.0.0.0 is no address";
    if (address == 0xFFFFFFFF)
        return "255.255.255.255 is the limited broadcast";
    if ((address >> 24) == 127)
        return "127.0.0.0/8 is this host's loopback";
    if ((address >> 28) == 0xE)
        return "224.0.0.0/4 is multicast";
    if ((address >> 28) == 0xF)
        return "240.0.0.0/4 is reserved";
    if (mask != 0 && mask != 0xFFFFFFFF && IsContiguous(mask) && mask != 0xFFFFFFFE) {
        if ((address & ~mask) == 0)
            return "it is the network address of its subnet";
        if ((address & ~mask) == ~mask)
            return "it is the broadcast address of its subnet";
    }
    return {};
}

} // namespace

std::vector<std::string> BrokenRules(const PlannedSettings& planned)
{
    std::vector<std::string> broken;
    if (planned.dhcp)
        return broken;
    const bool maskUsable =
        planned.mask && IsContiguous(*planned.mask) && *planned.mask != 0 && *planned.mask != 0xFFFFFFFF;
    const std::string mask = planned.mask ? DottedAddress(*planned.mask) : std::string();
    if (planned.maskAsked && planned.mask && !maskUsable)
        broken.push_back("mask " + mask +
                         (IsContiguous(*planned.mask) ? " leaves no room for a device and its gateway"
                                                      : " is not contiguous: its ones must all come before its zeros"));
    if ((planned.ipAsked || planned.maskAsked) && planned.ip) {
        const std::string problem = AddressProblem(*planned.ip, maskUsable ? *planned.mask : 0);
        if (!problem.empty())
            broken.push_back("address " + DottedAddress(*planned.ip) + (maskUsable ? " with mask " + mask : "") +
                             ": " + problem);
    }
    // 0.0.0.0 says "no gateway".
    if (planned.gatewayAsked && planned.gateway && *planned.gateway != 0) {
        if (const std::string problem = AddressProblem(*planned.gateway, 0); !problem.empty())
            broken.push_back("gateway " + DottedAddress(*planned.gateway) + ": " + problem);
    }
    if ((planned.gatewayAsked || planned.ipAsked || planned.maskAsked) && planned.gateway && *planned.gateway != 0 &&
        planned.ip && maskUsable) {
        if ((*planned.gateway & *planned.mask) != (*planned.ip & *planned.mask))
            broken.push_back("gateway " + DottedAddress(*planned.gateway) + " is outside the subnet of " +
                             DottedAddress(*planned.ip) + " with mask " + mask + ", so the device cannot reach it");
        else if (*planned.gateway == *planned.ip)
            broken.push_back("gateway " + DottedAddress(*planned.gateway) + " is the device's own address");
    }
    return broken;
}

std::string AddressTakenRule(const PlannedSettings& planned, const std::vector<std::uint32_t>& inUse)
{
    if (planned.dhcp || !planned.ipAsked || !planned.ip ||
        std::find(inUse.begin(), inUse.end(), *planned.ip) == inUse.end())
        return {};
    return "address " + DottedAddress(*planned.ip) + " is already reported by another device on the segment";
}
