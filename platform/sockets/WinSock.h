#pragma once

// The Windows Sockets vocabulary the program speaks: on Windows the system's own Winsock 2,
// elsewhere on top of POSIX sockets. Program code includes this header, never the system
// socket headers.

#ifdef _WIN32
// Before <windows.h>, which WinTypes.h brings: Winsock 2 asks to come first.
#include <winsock2.h>
#include <ws2tcpip.h>
#endif

#include "platform/WinTypes.h"

/// Maps a POSIX errno value to its Windows Sockets number; an unmapped value is returned as it is.
int WsaErrorFromErrno(int err);

#ifndef _WIN32

#include <arpa/inet.h>   // htons, htonl, ntohs, ntohl
#include <netinet/in.h>  // sockaddr_in, INADDR_BROADCAST, INADDR_ANY
#include <poll.h>        // POLLIN, POLLOUT, POLLPRI: WSAPoll's names on Windows
#include <sys/socket.h>  // SOCK_DGRAM, SOCK_STREAM, SOL_SOCKET, SO_BROADCAST, SO_RCVBUF

using SOCKET = int;
inline constexpr SOCKET INVALID_SOCKET = -1;
inline constexpr int SOCKET_ERROR = -1;

using SOCKADDR = sockaddr;
using SOCKADDR_IN = sockaddr_in;
using LPSOCKADDR = SOCKADDR*;

// Readiness notifications a socket can ask for (CAsyncSocket::AsyncSelect).
inline constexpr long FD_READ = 1;
inline constexpr long FD_WRITE = 2;
inline constexpr long FD_OOB = 4;
inline constexpr long FD_ACCEPT = 8;
inline constexpr long FD_CONNECT = 16;
inline constexpr long FD_CLOSE = 32;

// Directions for ShutDown.
inline constexpr int SD_RECEIVE = 0;
inline constexpr int SD_SEND = 1;
inline constexpr int SD_BOTH = 2;

// Windows Sockets error numbers; a message shows the same number on every host.
inline constexpr int WSAEINTR = 10004;
inline constexpr int WSAEACCES = 10013;
inline constexpr int WSAEFAULT = 10014;
inline constexpr int WSAEINVAL = 10022;
inline constexpr int WSAEMFILE = 10024;
inline constexpr int WSAEWOULDBLOCK = 10035;
inline constexpr int WSAEINPROGRESS = 10036;
inline constexpr int WSAENOTSOCK = 10038;
inline constexpr int WSAEMSGSIZE = 10040;
inline constexpr int WSAEADDRINUSE = 10048;
inline constexpr int WSAEADDRNOTAVAIL = 10049;
inline constexpr int WSAENETDOWN = 10050;
inline constexpr int WSAENETUNREACH = 10051;
inline constexpr int WSAECONNABORTED = 10053;
inline constexpr int WSAECONNRESET = 10054;
inline constexpr int WSAENOTCONN = 10057;
inline constexpr int WSAETIMEDOUT = 10060;
inline constexpr int WSAECONNREFUSED = 10061;
inline constexpr int WSAEHOSTUNREACH = 10065;
inline constexpr int WSAVERNOTSUPPORTED = 10092;
inline constexpr int WSANOTINITIALISED = 10093;

/// The last socket error number of this thread, set by every failing socket call.
int WSAGetLastError();
/// Sets this thread's last socket error number.
void WSASetLastError(int error);
struct WSADATA {
    WORD wVersion = 0;      ///< version granted: low byte major, high byte minor
    WORD wHighVersion = 0;  ///< highest version the layer offers (2.2)
};

/// Starts the socket layer: grants the requested version, or 2.2 when more is asked for.
/// Returns 0, WSAVERNOTSUPPORTED for a version below 1.0, WSAEFAULT without `data`.
int WSAStartup(WORD versionRequested, WSADATA* data);
/// Releases one WSAStartup; returns 0, or SOCKET_ERROR (WSANOTINITIALISED) without one.
int WSACleanup();

#endif
