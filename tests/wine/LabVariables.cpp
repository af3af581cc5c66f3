#include "LabVariables.h"

#include <cstdio>
#include <cstdlib>

namespace labvars {

std::string Env(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string MacPlus(const std::string& mac, unsigned n)
{
    unsigned b[6] = {};
    std::sscanf(mac.c_str(), "%x:%x:%x:%x:%x:%x", &b[0], &b[1], &b[2], &b[3], &b[4], &b[5]);
    const unsigned low = ((b[3] << 16) | (b[4] << 8) | b[5]) + n;
    char text[18];
    std::snprintf(text, sizeof text, "%02X:%02X:%02X:%02X:%02X:%02X", b[0], b[1], b[2], (low >> 16) & 0xFF,
                  (low >> 8) & 0xFF, low & 0xFF);
    return text;
}

} // namespace labvars
