#include "platform/sockets/SystemErrorText.h"

#include <cctype>
#include <cstring>

namespace lanvista::sockets {

std::string SystemErrorText(int error)
{
    // A Windows Sockets number the layer mapped has no errno text of its own.
    if (error <= 0 || error >= 10000)
        return {};
    // Downloads into several devices run on threads of their own: strerror's buffer is shared.
    char buffer[256];
    std::string text = ::strerror_r(error, buffer, sizeof buffer);
    if (!text.empty())
        text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    return text;
}

}  // namespace lanvista::sockets
