#include "platform/sockets/SocketCalls.h"

#include "platform/sockets/InjectedFault.h"

#include <iphlpapi.h>
#include <mswsock.h>

#include <atomic>
#include <cstring>

// Winsock reports its own numbers: a failing call leaves them in WSAGetLastError() itself,
// and only faults that tests inject (given as errno values) are mapped.

namespace lanvista::sockets {

namespace {

int Failed(int wsaError)
{
    WSASetLastError(wsaError);
    return SOCKET_ERROR;
}

int InjectedFailure(int error)
{
    return Failed(WsaErrorFromErrno(error));
}

// A send that the test seam answers: failure, or 0 bytes sent for error 0.
int InjectedSend(int error)
{
    return error == 0 ? 0 : InjectedFailure(error);
}

bool SetOption(SOCKET s, int level, int name, DWORD value)
{
    return ::setsockopt(s, level, name, reinterpret_cast<const char*>(&value), sizeof value) == 0;
}

void SetNonBlocking(SOCKET s)
{
    u_long on = 1;
    ::ioctlsocket(s, FIONBIO, &on);
}

// WSARecvMsg is reached through the provider; every IPv4 socket here has the same one.
LPFN_WSARECVMSG ReceiveMessageFunction(SOCKET s)
{
    static std::atomic<LPFN_WSARECVMSG> known{nullptr};
    LPFN_WSARECVMSG function = known.load();
    if (function)
        return function;
    GUID id = WSAID_WSARECVMSG;
    DWORD bytes = 0;
    if (::WSAIoctl(s, SIO_GET_EXTENSION_FUNCTION_POINTER, &id, sizeof id, &function, sizeof function, &bytes,
                   nullptr, nullptr) != 0)
        return nullptr;
    known.store(function);
    return function;
}

// WSARecvMsg with the sender and IP_PKTINFO's account of the arrival.
int ReceiveMessage(SOCKET s, void* buffer, int length, int flags, sockaddr_in* from, DatagramArrival& arrival)
{
    const LPFN_WSARECVMSG receive = ReceiveMessageFunction(s);
    if (!receive)
        return SOCKET_ERROR;
    sockaddr_in sender{};
    WSABUF bytes{static_cast<ULONG>(length), static_cast<char*>(buffer)};
    alignas(WSACMSGHDR) char control[WSA_CMSG_SPACE(sizeof(IN_PKTINFO))] = {};
    WSAMSG message{};
    message.name = reinterpret_cast<sockaddr*>(&sender);
    message.namelen = sizeof sender;
    message.lpBuffers = &bytes;
    message.dwBufferCount = 1;
    message.Control = WSABUF{sizeof control, control};
    message.dwFlags = static_cast<DWORD>(flags);
    DWORD received = 0;
    const int result = receive(s, &message, &received, nullptr, nullptr);
    // A datagram cut short still tells where it came from, as on Linux.
    if (result != 0 && WSAGetLastError() != WSAEMSGSIZE)
        return SOCKET_ERROR;
    const int error = WSAGetLastError();
    if (from)
        *from = message.namelen >= static_cast<int>(sizeof sender) ? sender : sockaddr_in{};
    for (WSACMSGHDR* header = WSA_CMSG_FIRSTHDR(&message); header; header = WSA_CMSG_NXTHDR(&message, header)) {
        if (header->cmsg_level != IPPROTO_IP || header->cmsg_type != IP_PKTINFO)
            continue;
        IN_PKTINFO info{};
        std::memcpy(&info, WSA_CMSG_DATA(header), sizeof info);
        arrival.destination = info.ipi_addr;
        arrival.interfaceIndex = info.ipi_ifindex;
    }
    return result == 0 ? static_cast<int>(received) : Failed(error);
}

// WSAPoll knows no POLLPRI (urgent data is POLLRDBAND there) and reports a closed or failed
// connection as POLLHUP or POLLERR alone; the answer is given in the Linux terms the callers
// ask in: whatever would not block the call asked about.
short PollEvents(short events)
{
    short asked = 0;
    if (events & POLLIN)
        asked |= POLLRDNORM;
    if (events & POLLPRI)
        asked |= POLLRDBAND;
    if (events & POLLOUT)
        asked |= POLLWRNORM;
    return asked;
}

short ReadyEvents(short events, short revents)
{
    const bool ended = (revents & (POLLHUP | POLLERR)) != 0;
    short ready = 0;
    if ((events & POLLIN) && (ended || (revents & POLLRDNORM)))
        ready |= POLLIN;
    if ((events & POLLPRI) && (revents & POLLRDBAND))
        ready |= POLLPRI;
    if ((events & POLLOUT) && (ended || (revents & POLLWRNORM)))
        ready |= POLLOUT;
    return ready;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Sockets

SOCKET OpenSocket(int type)
{
    int error = 0;
    if (Injected(SocketCall::Open, error))
        return InjectedFailure(error), INVALID_SOCKET;
    const SOCKET s = ::WSASocketW(AF_INET, type, 0, nullptr, 0, WSA_FLAG_OVERLAPPED | WSA_FLAG_NO_HANDLE_INHERIT);
    if (s == INVALID_SOCKET)
        return INVALID_SOCKET;
    SetNonBlocking(s);
    if (type == SOCK_DGRAM) {
        // Noted from the start, as on Linux: how each datagram arrives.
        SetOption(s, IPPROTO_IP, IP_PKTINFO, 1);
        // A datagram once sent to a closed port must not fail the next receive with
        // WSAECONNRESET: a reply from elsewhere may be waiting, and Linux says nothing.
        BOOL reportReset = FALSE;
        DWORD bytes = 0;
        ::WSAIoctl(s, SIO_UDP_CONNRESET, &reportReset, sizeof reportReset, nullptr, 0, &bytes, nullptr, nullptr);
    }
    return s;
}

void CloseSocket(SOCKET s)
{
    ::closesocket(s);
}

bool BindSocket(SOCKET s, const sockaddr_in& address)
{
    return ::bind(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

bool SetSocketOption(SOCKET s, int level, int name, const void* value, int length)
{
    int error = 0;
    if (Injected(SocketCall::SetOption, error))
        return InjectedFailure(error), false;
    return ::setsockopt(s, level, name, static_cast<const char*>(value), length) == 0;
}

bool GetSocketOption(SOCKET s, int level, int name, void* value, int& length)
{
    int error = 0;
    if (Injected(SocketCall::GetOption, error))
        return InjectedFailure(error), false;
    return ::getsockopt(s, level, name, static_cast<char*>(value), &length) == 0;
}

int PendingError(SOCKET s)
{
    int err = 0;
    int length = sizeof err;
    if (::getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&err), &length) != 0)
        err = WSAGetLastError();
    return err;
}

bool ConnectSocket(SOCKET s, const sockaddr_in& address)
{
    int error = 0;
    if (Injected(SocketCall::Connect, error))
        return InjectedFailure(error), false;
    if (::connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
        return true;
    // Winsock says WSAEWOULDBLOCK for a connect under way; the calls say it as Linux does.
    if (WSAGetLastError() == WSAEWOULDBLOCK)
        WSASetLastError(WSAEINPROGRESS);
    return false;
}

bool ListenOn(SOCKET s, int backlog)
{
    return ::listen(s, backlog) == 0;
}

SOCKET AcceptConnection(SOCKET s)
{
    const SOCKET accepted = ::accept(s, nullptr, nullptr);
    if (accepted != INVALID_SOCKET)
        SetNonBlocking(accepted);
    return accepted;
}

bool ShutDownSocket(SOCKET s, int how)
{
    if (how != SD_RECEIVE && how != SD_SEND && how != SD_BOTH)
        return Failed(WSAEINVAL), false;
    return ::shutdown(s, how) == 0;
}

bool SocketName(SOCKET s, sockaddr_in& address)
{
    address = {};
    int length = sizeof address;
    return ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) == 0;
}

// ---------------------------------------------------------------------------------------
// Sending and receiving

int SendBytes(SOCKET s, const void* data, int length, int flags)
{
    int error = 0;
    if (Injected(SocketCall::Send, error))
        return InjectedSend(error);
    return ::send(s, static_cast<const char*>(data), length, flags);
}

int SendBytesTo(SOCKET s, const void* data, int length, int flags, const sockaddr* to, int toLength)
{
    int error = 0;
    if (Injected(SocketCall::SendTo, error))
        return InjectedSend(error);
    return ::sendto(s, static_cast<const char*>(data), length, flags, to, toLength);
}

int SendBytesThrough(SOCKET s, const void* data, int length, int flags, const sockaddr_in& to,
                     const NetworkAdapter& adapter)
{
    int error = 0;
    if (Injected(SocketCall::SendTo, error))
        return InjectedSend(error);

    // IP_UNICAST_IF picks the way out for this send (its source is then that adapter's
    // address); Wine ignores IP_PKTINFO on a send. It is taken back at once, since the option
    // stays on the socket and a later routed send must go as the routing table says.
    if (!SetOption(s, IPPROTO_IP, IP_UNICAST_IF, htonl(adapter.index)))
        return SOCKET_ERROR;
    const int sent = ::sendto(s, static_cast<const char*>(data), length, flags,
                              reinterpret_cast<const sockaddr*>(&to), sizeof to);
    const int sendError = WSAGetLastError();
    SetOption(s, IPPROTO_IP, IP_UNICAST_IF, 0);
    if (sent == SOCKET_ERROR)
        WSASetLastError(sendError);
    return sent;
}

int ReceiveBytes(SOCKET s, void* buffer, int length, int flags, bool /*datagram*/, sockaddr_in* from,
                 DatagramArrival* arrival)
{
    int error = 0;
    if (arrival)
        *arrival = {};
    if (Injected(SocketCall::Receive, error)) {
        // A receive that fails still re-enables FD_READ, so the datagram waiting is notified
        // again; a peek does that and leaves it waiting.
        char peek = 0;
        ::recv(s, &peek, sizeof peek, MSG_PEEK);
        return InjectedFailure(error);
    }
    // Winsock fills the buffer with a datagram too long for it and fails with WSAEMSGSIZE
    // by itself.
    if (arrival)
        return ReceiveMessage(s, buffer, length, flags, from, *arrival);
    if (from) {
        *from = {};
        int fromLength = sizeof *from;
        return ::recvfrom(s, static_cast<char*>(buffer), length, flags, reinterpret_cast<sockaddr*>(from),
                          &fromLength);
    }
    return ::recv(s, static_cast<char*>(buffer), length, flags);
}

short ReadyNow(SOCKET s, short events)
{
    WSAPOLLFD probe{s, PollEvents(events), 0};
    return ::WSAPoll(&probe, 1, 0) > 0 ? ReadyEvents(events, probe.revents) : 0;
}

void WaitReady(SOCKET s, short events)
{
    WSAPOLLFD probe{s, PollEvents(events), 0};
    ::WSAPoll(&probe, 1, -1);
}

int WaitReadyFor(SOCKET s, short events, int milliseconds)
{
    WSAPOLLFD probe{s, PollEvents(events), 0};
    const int n = ::WSAPoll(&probe, 1, milliseconds);
    if (n <= 0)
        return n < 0 ? SOCKET_ERROR : 0;
    return (probe.revents & POLLNVAL) ? events : ReadyEvents(events, probe.revents);
}

// ---------------------------------------------------------------------------------------
// Adapters

namespace {

std::string Utf8(const wchar_t* text)
{
    if (!text)
        return {};
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1)
        return {};
    std::string utf8(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), length, nullptr, nullptr);
    utf8.resize(static_cast<std::size_t>(length - 1));
    return utf8;
}

const sockaddr_in* FirstIPv4(const IP_ADAPTER_ADDRESSES* entry)
{
    for (const IP_ADAPTER_UNICAST_ADDRESS* a = entry->FirstUnicastAddress; a; a = a->Next) {
        if (a->Address.lpSockaddr && a->Address.lpSockaddr->sa_family == AF_INET)
            return reinterpret_cast<const sockaddr_in*>(a->Address.lpSockaddr);
    }
    return nullptr;
}

// A limited broadcast leaves by neither loopback nor a point-to-point link.
bool CarriesBroadcasts(const IP_ADAPTER_ADDRESSES* entry)
{
    return entry->OperStatus == IfOperStatusUp && entry->IfType != IF_TYPE_SOFTWARE_LOOPBACK
           && entry->IfType != IF_TYPE_TUNNEL && entry->IfType != IF_TYPE_PPP;
}

}  // namespace

std::vector<NetworkAdapter> BroadcastAdaptersIn(const IP_ADAPTER_ADDRESSES* list)
{
    std::vector<NetworkAdapter> adapters;
    for (const IP_ADAPTER_ADDRESSES* entry = list; entry; entry = entry->Next) {
        const sockaddr_in* address = FirstIPv4(entry);
        if (!address || entry->IfIndex == 0 || !CarriesBroadcasts(entry))
            continue;
        // One datagram per wire, as on Linux.
        bool known = false;
        for (const NetworkAdapter& adapter : adapters)
            known = known || adapter.index == entry->IfIndex;
        if (known)
            continue;
        NetworkAdapter adapter;
        adapter.name = Utf8(entry->FriendlyName);
        adapter.index = entry->IfIndex;
        adapter.address = address->sin_addr;
        adapters.push_back(std::move(adapter));
    }
    return adapters;
}

std::vector<NetworkAdapter> BroadcastAdapters()
{
    constexpr ULONG kFlags = GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
    ULONG size = 16 * 1024;
    std::vector<unsigned char> buffer;
    ULONG result = ERROR_BUFFER_OVERFLOW;
    // The list may grow between the call that sizes it and the call that fills it.
    for (int attempt = 0; attempt < 4 && result == ERROR_BUFFER_OVERFLOW; ++attempt) {
        buffer.assign(size, 0);
        result = ::GetAdaptersAddresses(AF_INET, kFlags, nullptr,
                                        reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()), &size);
    }
    if (result != NO_ERROR)
        return {};
    return BroadcastAdaptersIn(reinterpret_cast<const IP_ADAPTER_ADDRESSES*>(buffer.data()));
}

}  // namespace lanvista::sockets
