#pragma once

// Adapters by name and by index, for a user who names one ("--interface eth0") and for a
// datagram whose arrival gives only the index.

#include <string>

namespace lanvista::sockets {

/// The name of the adapter with this index as the adapter list names it ("eth0"; on Windows
/// its friendly name, in UTF-8); empty when there is none.
std::string AdapterName(unsigned index);

/// The index of the adapter with this name; on Linux the label of one of its addresses
/// ("eth0:1") names it too. 0 when there is none.
unsigned AdapterIndex(const std::string& name);

}  // namespace lanvista::sockets
