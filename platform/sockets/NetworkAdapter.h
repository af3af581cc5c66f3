#pragma once

#include <netinet/in.h>

#include <string>

/// A network adapter of this machine that a limited broadcast can leave by.
struct NetworkAdapter {
    std::string name;       ///< as the system names it, e.g. "eth0"
    unsigned index = 0;     ///< the system's interface index
    in_addr address{};      ///< its IPv4 address, the source of what is sent through it
};
