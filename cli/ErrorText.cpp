#include "cli/ErrorText.h"

#include "platform/sockets/WinSock.h"

#include <cerrno>
#include <cctype>
#include <cstring>

namespace {

struct Meaning {
    int errnoValue;
    int wsaValue;
    const char* hint;  // what it means for the tool; may be empty
};

// The errors a search, a save or a download meets, with what the user can do about them.
constexpr Meaning kMeanings[] = {
    {ENETUNREACH, WSAENETUNREACH, "no adapter leads there; is the adapter up, with an IPv4 address?"},
    {EHOSTUNREACH, WSAEHOSTUNREACH, "nothing answers for that address on the segment"},
    {ENETDOWN, WSAENETDOWN, "the adapter is down"},
    {EADDRNOTAVAIL, WSAEADDRNOTAVAIL, "the adapter's address has gone"},
    {EADDRINUSE, WSAEADDRINUSE, "another program holds the port, most likely an open Lanvista window"},
    {EACCES, WSAEACCES, "not allowed here; a firewall or missing broadcast permission"},
    {EPERM, EPERM, "not allowed here; most likely a firewall rule"},
    {ECONNREFUSED, WSAECONNREFUSED, "the device does not take downloads on that port"},
    {ECONNRESET, WSAECONNRESET, "the device broke the connection off"},
    {EPIPE, WSAECONNRESET, "the device broke the connection off"},
    {ETIMEDOUT, WSAETIMEDOUT, "the device did not answer in time"},
    {EMSGSIZE, WSAEMSGSIZE, ""},
    {EMFILE, WSAEMFILE, "too many files open"},
    {ENOBUFS, ENOBUFS, "the system has no buffer room left"},
};

std::string Compose(int errnoValue, const char* hint, const std::string& number)
{
    std::string text = std::strerror(errnoValue);
    if (!text.empty())
        text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    if (hint != nullptr && *hint != '\0')
        text += std::string(": ") + hint;
    return text + " (" + number + ")";
}

}  // namespace

std::string ErrnoText(int error)
{
    for (const Meaning& meaning : kMeanings)
        if (meaning.errnoValue == error)
            return Compose(error, meaning.hint, "errno " + std::to_string(error));
    return Compose(error, nullptr, "errno " + std::to_string(error));
}

std::string SocketErrorText(int wsaError)
{
    for (const Meaning& meaning : kMeanings)
        if (meaning.wsaValue == wsaError)
            return Compose(meaning.errnoValue, meaning.hint, "socket error " + std::to_string(wsaError));
    // Below the Windows Sockets range the layer passes the errno on as it is.
    if (wsaError > 0 && wsaError < 10000)
        return Compose(wsaError, nullptr, "errno " + std::to_string(wsaError));
    return "socket error " + std::to_string(wsaError);
}
