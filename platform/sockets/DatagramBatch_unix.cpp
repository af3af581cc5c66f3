#include "platform/sockets/DatagramBatch.h"

#include "platform/sockets/DatagramArrival_unix.h"
#include "platform/sockets/InjectedFault.h"

#include <sys/socket.h>

#include <algorithm>
#include <cerrno>

namespace lanvista::sockets {

namespace {

// Datagrams to one system call; a larger batch is read over several.
constexpr int kMostPerCall = 64;

struct Control {
    alignas(cmsghdr) unsigned char bytes[CMSG_SPACE(sizeof(in_pktinfo))];
};

}  // namespace

int ReceiveDatagrams(SOCKET s, BatchDatagram* batch, int count)
{
    int error = 0;
    if (Injected(SocketCall::Receive, error)) {
        WSASetLastError(WsaErrorFromErrno(error));
        return SOCKET_ERROR;
    }
    const int wanted = std::min(count, kMostPerCall);
    mmsghdr messages[kMostPerCall];
    iovec bytes[kMostPerCall];
    Control controls[kMostPerCall];
    for (int i = 0; i < wanted; ++i) {
        bytes[i] = {batch[i].data, static_cast<size_t>(batch[i].room)};
        batch[i].from = {};
        messages[i] = {};
        msghdr& message = messages[i].msg_hdr;
        message.msg_name = &batch[i].from;
        message.msg_namelen = sizeof batch[i].from;
        message.msg_iov = &bytes[i];
        message.msg_iovlen = 1;
        message.msg_control = controls[i].bytes;
        message.msg_controllen = sizeof controls[i].bytes;
    }
    int received = ::recvmmsg(s, messages, static_cast<unsigned>(wanted), 0, nullptr);
    while (received < 0 && errno == EINTR)
        received = ::recvmmsg(s, messages, static_cast<unsigned>(wanted), 0, nullptr);
    if (received < 0) {
        WSASetLastError(WsaErrorFromErrno(errno));
        return SOCKET_ERROR;
    }
    for (int i = 0; i < received; ++i) {
        batch[i].size = static_cast<int>(messages[i].msg_len);
        batch[i].arrival = ArrivalOf(messages[i].msg_hdr);
    }
    return received;
}

}  // namespace lanvista::sockets
