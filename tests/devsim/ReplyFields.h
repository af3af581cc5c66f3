#pragma once
// A search reply's fields, read the way the program reads them.

#include <cstdint>
#include <string>

struct ReplyFields {
    std::string mac12;
    std::uint32_t ip = 0;
    std::uint32_t mask = 0;
    std::uint32_t gateway = 0;
    std::uint16_t port = 0;
    bool dhcp = false;
    std::string version;  // as shown, e.g. " 3.07"; empty when the field is not readable
};

// The fields of a reply of at least 128 bytes.
ReplyFields ReadReplyFields(const std::string& reply);
