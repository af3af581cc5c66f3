#include "cli/ErrorText.h"

#include "platform/sockets/SystemErrorText.h"
#include "platform/sockets/WinSock.h"

#include <cerrno>

namespace {

struct Meaning {
    int error;
    const char* words;  // the same on every system, as Linux says them
    const char* hint;   // what it means for the tool; may be empty
};

// The errors a search, a save or a download meets, with what the user can do about them.
// EPERM and ENOBUFS are errno values the layer passes on unmapped on Linux; none of Winsock's
// own numbers below 10000 (WSA_INVALID_HANDLE and the like) is either of them.
constexpr Meaning kMeanings[] = {
    {WSAENETUNREACH, "network is unreachable", "no adapter leads there; is the adapter up, with an IPv4 address?"},
    {WSAEHOSTUNREACH, "no route to host", "nothing answers for that address on the segment"},
    {WSAENETDOWN, "network is down", "the adapter is down"},
    {WSAEADDRNOTAVAIL, "cannot assign requested address", "the adapter's address has gone"},
    {WSAEADDRINUSE, "address already in use", "another program holds the port, most likely an open Lanvista window"},
    {WSAEACCES, "permission denied", "not allowed here; a firewall or missing broadcast permission"},
    {EPERM, "operation not permitted", "not allowed here; most likely a firewall rule"},
    {WSAECONNREFUSED, "connection refused", "the device does not take downloads on that port"},
    {WSAECONNRESET, "connection reset by peer", "the device broke the connection off"},
    {WSAECONNABORTED, "software caused connection abort", "the connection was given up on this side"},
    {WSAETIMEDOUT, "connection timed out", "the device did not answer in time"},
    {WSAENOTCONN, "transport endpoint is not connected", "the device broke the connection off"},
    {WSAEMSGSIZE, "message too long", ""},
    {WSAEMFILE, "too many open files", ""},
    {ENOBUFS, "no buffer space available", "the system has no buffer room left"},
    {WSAEWOULDBLOCK, "resource temporarily unavailable", ""},
    {WSAEINPROGRESS, "operation now in progress", ""},
    {WSAEINVAL, "invalid argument", ""},
    {WSAENOTSOCK, "socket operation on non-socket", ""},
    {WSAEFAULT, "bad address", ""},
    {WSAEINTR, "interrupted system call", ""},
};

}  // namespace

std::string SocketErrorText(int error)
{
    const std::string number = " (socket error " + std::to_string(error) + ")";
    for (const Meaning& meaning : kMeanings) {
        if (meaning.error == error)
            return std::string(meaning.words) + (*meaning.hint != '\0' ? std::string(": ") + meaning.hint : "") +
                   number;
    }
    const std::string words = lanvista::sockets::SystemErrorText(error);
    return (words.empty() ? std::string("unknown error") : words) + number;
}
