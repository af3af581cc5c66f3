#include "platform/sockets/SocketCalls.h"

#include "platform/sockets/DatagramArrival_unix.h"
#include "platform/sockets/InjectedFault.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace lanvista::sockets {

namespace {

// ---------------------------------------------------------------------------------------
// The one retry of an interrupted call and the one way a failure is reported

template <class Call>
auto Repeated(Call call)
{
    auto result = call();
    while (result < 0 && errno == EINTR)
        result = call();
    return result;
}

int Failed(int err)
{
    WSASetLastError(WsaErrorFromErrno(err));
    return SOCKET_ERROR;
}

bool Succeeded(int result)
{
    if (result == 0)
        return true;
    Failed(errno);
    return false;
}

int Count(ssize_t result)
{
    return result < 0 ? Failed(errno) : static_cast<int>(result);
}

// A send that the test seam answers: failure, or 0 bytes sent for error 0.
int InjectedSend(int error)
{
    return error == 0 ? 0 : Failed(error);
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Sockets

SOCKET OpenSocket(int type)
{
    int error = 0;
    if (Injected(SocketCall::Open, error))
        return Failed(error);
    const int fd = ::socket(AF_INET, type | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return Failed(errno);
    // Noted from the start: the kernel attaches it to a datagram as it is queued.
    const int on = 1;
    if (type == SOCK_DGRAM)
        ::setsockopt(fd, IPPROTO_IP, IP_PKTINFO, &on, sizeof on);
    return fd;
}

void CloseSocket(SOCKET s)
{
    ::close(s);
}

bool BindSocket(SOCKET s, const sockaddr_in& address)
{
    return Succeeded(::bind(s, reinterpret_cast<const sockaddr*>(&address), sizeof address));
}

bool SetSocketOption(SOCKET s, int level, int name, const void* value, int length)
{
    int error = 0;
    if (Injected(SocketCall::SetOption, error))
        return Failed(error), false;
    return Succeeded(::setsockopt(s, level, name, value, static_cast<socklen_t>(length)));
}

bool GetSocketOption(SOCKET s, int level, int name, void* value, int& length)
{
    int error = 0;
    if (Injected(SocketCall::GetOption, error))
        return Failed(error), false;
    socklen_t size = static_cast<socklen_t>(length);
    if (!Succeeded(::getsockopt(s, level, name, value, &size)))
        return false;
    length = static_cast<int>(size);
    return true;
}

int PendingError(SOCKET s)
{
    int err = 0;
    socklen_t length = sizeof err;
    if (::getsockopt(s, SOL_SOCKET, SO_ERROR, &err, &length) != 0)
        err = errno;
    return err == 0 ? 0 : WsaErrorFromErrno(err);
}

bool ConnectSocket(SOCKET s, const sockaddr_in& address)
{
    int error = 0;
    if (Injected(SocketCall::Connect, error))
        return Failed(error), false;
    return Succeeded(
        Repeated([&] { return ::connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address); }));
}

bool ListenOn(SOCKET s, int backlog)
{
    return Succeeded(::listen(s, backlog));
}

SOCKET AcceptConnection(SOCKET s)
{
    const int fd = Repeated([&] { return ::accept4(s, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC); });
    return fd < 0 ? Failed(errno) : fd;
}

bool ShutDownSocket(SOCKET s, int how)
{
    const int direction = how == SD_RECEIVE ? SHUT_RD : how == SD_SEND ? SHUT_WR : how == SD_BOTH ? SHUT_RDWR : -1;
    if (direction < 0)
        return Failed(EINVAL), false;
    return Succeeded(::shutdown(s, direction));
}

bool SocketName(SOCKET s, sockaddr_in& address)
{
    address = {};
    socklen_t length = sizeof address;
    return Succeeded(::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length));
}

// ---------------------------------------------------------------------------------------
// Sending and receiving

int SendBytes(SOCKET s, const void* data, int length, int flags)
{
    int error = 0;
    if (Injected(SocketCall::Send, error))
        return InjectedSend(error);
    return Count(Repeated([&] { return ::send(s, data, static_cast<size_t>(length), flags | MSG_NOSIGNAL); }));
}

int SendBytesTo(SOCKET s, const void* data, int length, int flags, const sockaddr* to, int toLength)
{
    int error = 0;
    if (Injected(SocketCall::SendTo, error))
        return InjectedSend(error);
    return Count(Repeated([&] {
        return ::sendto(s, data, static_cast<size_t>(length), flags | MSG_NOSIGNAL, to, static_cast<socklen_t>(toLength));
    }));
}

int SendBytesThrough(SOCKET s, const void* data, int length, int flags, const sockaddr_in& to,
                     const NetworkAdapter& adapter)
{
    int error = 0;
    if (Injected(SocketCall::SendTo, error))
        return InjectedSend(error);

    // IP_PKTINFO picks the way out and the source per datagram, which needs no privilege
    // (binding to a device would), so the one socket on its port serves every adapter.
    sockaddr_in destination = to;
    iovec bytes{const_cast<void*>(data), static_cast<size_t>(length)};
    alignas(cmsghdr) unsigned char control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
    msghdr message{};
    message.msg_name = &destination;
    message.msg_namelen = sizeof destination;
    message.msg_iov = &bytes;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    cmsghdr* header = CMSG_FIRSTHDR(&message);
    header->cmsg_level = IPPROTO_IP;
    header->cmsg_type = IP_PKTINFO;
    header->cmsg_len = CMSG_LEN(sizeof(in_pktinfo));
    in_pktinfo info{};
    info.ipi_ifindex = static_cast<int>(adapter.index);
    info.ipi_spec_dst = adapter.address;
    std::memcpy(CMSG_DATA(header), &info, sizeof info);
    return Count(Repeated([&] { return ::sendmsg(s, &message, flags | MSG_NOSIGNAL); }));
}

namespace {

// recvmsg with the sender and IP_PKTINFO's account of the arrival.
ssize_t ReceiveMessage(SOCKET s, void* buffer, size_t size, int flags, sockaddr_in* from, DatagramArrival& arrival)
{
    sockaddr_in sender{};
    iovec bytes{buffer, size};
    alignas(cmsghdr) unsigned char control[CMSG_SPACE(sizeof(in_pktinfo))];
    msghdr message{};
    message.msg_name = &sender;
    message.msg_namelen = sizeof sender;
    message.msg_iov = &bytes;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    arrival = {};
    const ssize_t n = Repeated([&] { return ::recvmsg(s, &message, flags); });
    if (n < 0)
        return n;
    if (from)
        *from = message.msg_namelen >= sizeof sender ? sender : sockaddr_in{};
    arrival = ArrivalOf(message);
    return n;
}

}  // namespace

int ReceiveBytes(SOCKET s, void* buffer, int length, int flags, bool datagram, sockaddr_in* from,
                 DatagramArrival* arrival)
{
    int error = 0;
    if (arrival)
        *arrival = {};
    if (Injected(SocketCall::Receive, error))
        return Failed(error);
    // MSG_TRUNC reports a datagram's whole length, so one cut short can be told.
    const int allFlags = flags | (datagram ? MSG_TRUNC : 0);
    const auto size = static_cast<size_t>(length);
    ssize_t n;
    if (arrival) {
        n = ReceiveMessage(s, buffer, size, allFlags, from, *arrival);
    } else if (from) {
        *from = {};
        socklen_t fromLength = sizeof *from;
        n = Repeated([&] { return ::recvfrom(s, buffer, size, allFlags, reinterpret_cast<sockaddr*>(from), &fromLength); });
    } else {
        n = Repeated([&] { return ::recv(s, buffer, size, allFlags); });
    }
    if (n < 0)
        return Failed(errno);
    if (datagram && n > length) {
        WSASetLastError(WSAEMSGSIZE);
        return SOCKET_ERROR;
    }
    return static_cast<int>(n);
}

short ReadyNow(SOCKET s, short events)
{
    pollfd probe{s, events, 0};
    return ::poll(&probe, 1, 0) > 0 ? static_cast<short>(probe.revents & events) : 0;
}

void WaitReady(SOCKET s, short events)
{
    pollfd probe{s, events, 0};
    Repeated([&] { return ::poll(&probe, 1, -1); });
}

int WaitReadyFor(SOCKET s, short events, int milliseconds)
{
    pollfd probe{s, events, 0};
    const int n = Repeated([&] { return ::poll(&probe, 1, milliseconds); });
    if (n <= 0)
        return n < 0 ? Failed(errno) : 0;
    return (probe.revents & (POLLERR | POLLHUP | POLLNVAL)) ? events : probe.revents & events;
}

// ---------------------------------------------------------------------------------------
// Adapters

std::vector<NetworkAdapter> BroadcastAdaptersIn(const ifaddrs* list, unsigned (*indexOf)(const char*))
{
    constexpr unsigned kWanted = IFF_UP | IFF_RUNNING | IFF_BROADCAST;
    std::vector<NetworkAdapter> adapters;
    for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET || !entry->ifa_name)
            continue;
        if ((entry->ifa_flags & kWanted) != kWanted || (entry->ifa_flags & IFF_LOOPBACK))
            continue;
        const unsigned index = indexOf(entry->ifa_name);
        if (index == 0)
            continue;
        // One datagram per wire: further addresses of an interface add nothing.
        bool known = false;
        for (const NetworkAdapter& adapter : adapters)
            known = known || adapter.index == index;
        if (known)
            continue;
        NetworkAdapter adapter;
        adapter.name = entry->ifa_name;
        adapter.index = index;
        adapter.address = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr;
        adapters.push_back(std::move(adapter));
    }
    return adapters;
}

std::vector<NetworkAdapter> BroadcastAdapters()
{
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0)
        return {};
    std::vector<NetworkAdapter> adapters = BroadcastAdaptersIn(list, &::if_nametoindex);
    ::freeifaddrs(list);
    return adapters;
}

}  // namespace lanvista::sockets
