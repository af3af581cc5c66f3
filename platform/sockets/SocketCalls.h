#pragma once

// The socket layer's system calls, each in one place, as Qt keeps its native socket engine
// per platform. Every call that fails returns SOCKET_ERROR (or false) and leaves the Windows
// Sockets number of its cause in WSAGetLastError(); an interrupted call is repeated.
// No Qt here: a command-line tool uses these without an event loop.

#include "platform/sockets/NetworkAdapter.h"
#include "platform/sockets/WinSock.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#ifdef _WIN32
struct _IP_ADAPTER_ADDRESSES_LH;
#else
struct ifaddrs;
#endif

namespace lanvista::sockets {

/// A non-blocking, close-on-exec IPv4 socket of the type, or INVALID_SOCKET. A datagram
/// socket is told to note how each datagram arrives (see ReceiveBytes).
SOCKET OpenSocket(int type);
/// Releases the descriptor; never repeated, since the descriptor is gone either way.
void CloseSocket(SOCKET s);
bool BindSocket(SOCKET s, const sockaddr_in& address);
bool SetSocketOption(SOCKET s, int level, int name, const void* value, int length);
/// Reads an option; `length` is the room on entry and the size written on return.
bool GetSocketOption(SOCKET s, int level, int name, void* value, int& length);
/// The error a pending connect ended with (SO_ERROR), as a Windows Sockets number; 0 for none.
int PendingError(SOCKET s);
/// Starts a connect. False with WSAEINPROGRESS while a non-blocking connect is under way.
bool ConnectSocket(SOCKET s, const sockaddr_in& address);
bool ListenOn(SOCKET s, int backlog);
/// The accepted connection, non-blocking and close-on-exec, or INVALID_SOCKET.
SOCKET AcceptConnection(SOCKET s);
/// `how` is SD_RECEIVE, SD_SEND or SD_BOTH.
bool ShutDownSocket(SOCKET s, int how);
bool SocketName(SOCKET s, sockaddr_in& address);

/// Sends on a connected socket; never raises SIGPIPE. Returns the bytes sent.
int SendBytes(SOCKET s, const void* data, int length, int flags);
/// Sends one datagram to `to`, routed as the system's routing table says.
int SendBytesTo(SOCKET s, const void* data, int length, int flags, const sockaddr* to, int toLength);
/// Sends one datagram to `to` out of `adapter`, with the adapter's address as its source.
int SendBytesThrough(SOCKET s, const void* data, int length, int flags, const sockaddr_in& to,
                     const NetworkAdapter& adapter);
/// Receives into the buffer. A datagram longer than the buffer fills it and fails with
/// WSAEMSGSIZE. `from`, when given, receives the sender (family 0 when there is none);
/// `arrival`, when given, how the datagram came in (all zero when the system did not say).
int ReceiveBytes(SOCKET s, void* buffer, int length, int flags, bool datagram, sockaddr_in* from = nullptr,
                 DatagramArrival* arrival = nullptr);

/// Readiness of the socket right now: the poll events among `events` that are set.
short ReadyNow(SOCKET s, short events);
/// Waits without limit until one of `events` is ready.
void WaitReady(SOCKET s, short events);
/// Waits at most `milliseconds` for one of `events`: those ready (an ended or failed
/// connection counts as ready for each, since no call would block on it), 0 when the time
/// ran out, SOCKET_ERROR when the wait itself failed.
int WaitReadyFor(SOCKET s, short events, int milliseconds);

/// The adapters a limited broadcast should leave by, afresh from the system.
std::vector<NetworkAdapter> BroadcastAdapters();
#ifdef _WIN32
/// Picks them from GetAdaptersAddresses' list: up, with an IPv4 address, neither loopback
/// nor a point-to-point tunnel; one per adapter (its first IPv4 address), in list order,
/// named by its friendly name in UTF-8.
std::vector<NetworkAdapter> BroadcastAdaptersIn(const _IP_ADAPTER_ADDRESSES_LH* list);
#else
/// Picks them from an interface list: IPv4, up with its link up, broadcast-capable, not
/// loopback; one per interface (its first address), in list order. `indexOf` gives an
/// interface's index by name, 0 when it has none.
std::vector<NetworkAdapter> BroadcastAdaptersIn(const ifaddrs* list, unsigned (*indexOf)(const char*));
#endif

/// Fills an IPv4 address from dotted-decimal text or a host name; nullptr gives `fallback`.
bool ResolveIPv4(const char* host, UINT port, std::uint32_t fallback, sockaddr_in& out);
/// Dotted-decimal text of an address.
std::string AddressText(const in_addr& address);

/// Memory for a socket object; nullptr when there is none.
void* AllocateSocketObject(std::size_t size) noexcept;
void FreeSocketObject(void* object) noexcept;

}  // namespace lanvista::sockets
