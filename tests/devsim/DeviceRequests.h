#pragma once
// Requests as the program builds them, through the shared wire library.

#include <cstdint>
#include <string>

std::string SearchAllRequest();
// "01" for the device whose MAC field is mac12 (12 characters, used as given).
std::string SearchOneRequest(const std::string& mac12);
std::string SaveRequest(const std::string& mac12, std::uint32_t ip, std::uint32_t mask, std::uint32_t gateway,
                        std::uint16_t port, bool dhcp);
// "aa:bb:cc:dd:ee:ff" from "aabbccddeeff".
std::string MacText(const std::string& mac12);
