#include "platform/sockets/UnacknowledgedBytes.h"

#include <mstcpip.h>

namespace lanvista::sockets {

std::size_t UnacknowledgedBytes(SOCKET s)
{
    // SIO_TCP_INFO (Windows 10 1703 and later) tells the bytes sent and not yet acknowledged.
    // Where it fails, as under Wine, 0 is returned: the caller then counts the bytes handed
    // over as taken, which is all it can know there.
    DWORD version = 0;
    TCP_INFO_v0 info{};
    DWORD bytes = 0;
    if (::WSAIoctl(s, SIO_TCP_INFO, &version, sizeof version, &info, sizeof info, &bytes, nullptr, nullptr) != 0)
        return 0;
    return info.BytesInFlight;
}

}  // namespace lanvista::sockets
