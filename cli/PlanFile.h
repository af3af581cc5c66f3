#pragma once
// A plan for apply: the settings many devices should have, in the columns (CSV) or keys
// (JSON) that list prints, so that list's output edited is a plan.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// One device of the plan; a field not given (absent, empty or null) is left as it is.
struct PlannedDevice {
    std::string where;  // "line 3" of a CSV plan, "entry 2" of a JSON one
    std::string mac12;  // upper-case
    std::optional<std::uint32_t> ip;
    std::optional<std::uint32_t> mask;
    std::optional<std::uint32_t> gateway;
    std::optional<std::uint16_t> port;
    std::optional<bool> dhcp;
};

struct Plan {
    std::vector<PlannedDevice> devices;
    std::vector<std::string> problems;  // "line 3: ..." each; the plan is not to be applied
};

/// Reads a plan: JSON when its first character other than white space is '[', CSV with a
/// header line otherwise. Columns and keys: mac (required), ip, mask, gateway, port, dhcp
/// (true/false, on/off, yes/no, 1/0); any other is ignored. Besides each unreadable value it
/// finds what the plan alone shows: a MAC planned twice, one address planned for two
/// devices. The settings rules wait for the devices' answers: they judge what would change.
Plan ReadPlan(std::string_view text);
