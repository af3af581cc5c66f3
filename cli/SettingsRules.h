#pragma once
// Network settings no device should be given, refused before they are written: set checks the
// result of its change against these unless --force is given.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

/// The settings a save would leave in the device, and which of them the user asked for. A value
/// not known yet (before the device has answered) is absent; rules that need it wait.
struct PlannedSettings {
    std::optional<std::uint32_t> ip;
    std::optional<std::uint32_t> mask;
    std::optional<std::uint32_t> gateway;
    bool dhcp = false;
    bool ipAsked = false;
    bool maskAsked = false;
    bool gatewayAsked = false;
};

/// Each rule the plan breaks, in words ("mask 255.0.255.0 is not contiguous: ..."), for the
/// fields asked for and what they depend on. Under DHCP the addresses are the server's
/// business and not looked at. Needs nothing but the plan itself.
std::vector<std::string> BrokenRules(const PlannedSettings& planned);

/// The rule an address already in use breaks: `inUse` holds what the other devices of the
/// segment report. Empty when the address is free or not asked for.
std::string AddressTakenRule(const PlannedSettings& planned, const std::vector<std::uint32_t>& inUse);
