#pragma once
// What lab/lab.sh tells a Windows test it runs, read without Qt.

#include <string>

namespace labvars {

// The variable's value; empty when it is not set.
std::string Env(const char* name);
// "aa:bb:cc:dd:ee:ff" plus n in its last three bytes, upper case as the device list shows it.
std::string MacPlus(const std::string& mac, unsigned n);

} // namespace labvars
