#pragma once
// The forms list prints its devices in: an aligned table for people, JSON, JSON lines and
// CSV for scripts. Every form shows the same columns, every text through SafeText.

#include "cli/DeviceLink.h"

#include <ostream>

void WriteTable(std::ostream& out, const FoundDevices& devices);
/// An array of objects with the keys mac, ip, mask, gateway, port, dhcp, version, from and
/// interface; version and interface are null when unknown. Written object by object.
void WriteJson(std::ostream& out, const FoundDevices& devices);
/// The same object on one line, for a device as soon as it is heard.
void WriteJsonLine(std::ostream& out, const FoundDevice& device);
/// A header line, then one line per device.
void WriteCsv(std::ostream& out, const FoundDevices& devices);
