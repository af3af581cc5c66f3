#pragma once
// The three forms list prints its devices in: an aligned table for people, JSON and CSV for
// scripts. Every form shows the same columns.

#include "cli/DeviceLink.h"

#include <ostream>
#include <string>
#include <string_view>

/// Text a device sent, safe to print: every byte outside printable ASCII becomes '?', so a
/// reply cannot move a terminal's cursor or break a script's UTF-8.
std::string PrintableText(std::string_view text);

void WriteTable(std::ostream& out, const FoundDevices& devices);
/// An array of objects with the keys mac, ip, mask, gateway, port, dhcp, version, from and
/// interface; version and interface are null when unknown.
void WriteJson(std::ostream& out, const FoundDevices& devices);
/// A header line, then one line per device; fields quoted where CSV needs it.
void WriteCsv(std::ostream& out, const FoundDevices& devices);
