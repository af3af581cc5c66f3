#include "platform/sockets/ReadyBefore.h"

#include "platform/sockets/SocketCalls.h"

#include <algorithm>
#include <climits>

namespace lanvista::sockets {

short ReadyBefore(SOCKET s, short events, std::chrono::steady_clock::time_point deadline)
{
    using namespace std::chrono;
    // The time left is taken afresh before each wait: a wait the system ends early (a
    // signal, a coarse clock) goes on for what remains.
    for (;;) {
        const auto left = ceil<milliseconds>(deadline - steady_clock::now()).count();
        if (left <= 0)
            return 0;
        const int ready = WaitReadyFor(s, events, static_cast<int>(std::min<decltype(left)>(left, INT_MAX)));
        if (ready == SOCKET_ERROR)
            return 0;
        if (ready != 0)
            return static_cast<short>(ready);
    }
}

}  // namespace lanvista::sockets
