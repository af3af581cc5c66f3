#include "platform/sockets/UnacknowledgedBytes.h"

#include <linux/sockios.h>
#include <sys/ioctl.h>

namespace lanvista::sockets {

std::size_t UnacknowledgedBytes(SOCKET s)
{
    // SIOCOUTQ counts what is queued but not yet sent as well as what is sent and not yet
    // acknowledged: all the peer has not taken.
    int queued = 0;
    if (::ioctl(s, SIOCOUTQ, &queued) != 0 || queued < 0)
        return 0;
    return static_cast<std::size_t>(queued);
}

}  // namespace lanvista::sockets
