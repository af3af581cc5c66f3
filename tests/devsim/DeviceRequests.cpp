#include "tests/devsim/DeviceRequests.h"

#include "link/Datagram.h"

#include <array>

namespace {

std::uint32_t NextSeed()
{
    static std::uint32_t seed = 1;
    return seed++;
}

} // namespace

std::string SearchAllRequest()
{
    return BuildSearchRequest({}, NextSeed());
}

std::string SearchOneRequest(const std::string& mac12)
{
    std::array<std::string, 6> boxes;
    for (std::size_t i = 0; i < boxes.size(); ++i)
        boxes[i] = mac12.substr(2 * i, 2);
    return BuildSearchRequest(boxes, NextSeed());
}

std::string SaveRequest(const std::string& mac12, std::uint32_t ip, std::uint32_t mask, std::uint32_t gateway,
                        std::uint16_t port, bool dhcp)
{
    return BuildSaveRequest(MacText(mac12), ip, mask, gateway, port, dhcp ? 1 : 0, NextSeed());
}

std::string MacText(const std::string& mac12)
{
    std::string text;
    for (std::size_t i = 0; i < mac12.size(); i += 2) {
        if (i != 0)
            text += ':';
        text += mac12.substr(i, 2);
    }
    return text;
}
