#pragma once
// One device's settings change as set and apply make it: the settings a save writes, the
// rules it is checked against, the save itself, and whether the device then reports it.

#include "cli/CommandLine.h"
#include "cli/DeviceLink.h"
#include "cli/SettingsRules.h"
#include "link/DeviceRecord.h"

#include <ostream>
#include <string>
#include <vector>

/// Each save that gets no answer, and the search that checks it, go out this many times in all.
inline constexpr int kAttempts = 3;

/// The settings a save writes: those asked for, the device's own for the rest.
DeviceEdit EditOf(const SetCommand& command, const DeviceRecord& current);
/// The same as the settings rules see them.
PlannedSettings PlanOf(const SetCommand& command, const DeviceEdit& edit);
/// Whether the device reports what was asked. A device on DHCP reports the addresses of its
/// lease, which replace the ones written, so they are not compared then.
bool Reports(const DeviceRecord& record, const SetCommand& command, const DeviceEdit& edit);
/// "ip 10.0.0.5, mask 255.255.255.0, ...": every field a save writes.
std::string Describe(const DeviceEdit& edit);
/// "\n  ip: asked 10.0.0.5, the device reports 10.0.0.4" for each field asked for that differs.
std::string Differences(const DeviceRecord& record, const SetCommand& command, const DeviceEdit& edit);
/// Writes the refusal of broken rules to err; the usage error's exit code.
int Refuse(const std::vector<std::string>& broken, std::ostream& err);
/// Sends the save request back the ways the device was heard until a save reply comes, at
/// most kAttempts times. sendFailed: the request could not go out at all.
bool SaveInto(DeviceLink& link, const FoundDevices& device, const DeviceEdit& edit, double timeoutSeconds,
              bool& sendFailed, std::ostream& err);
