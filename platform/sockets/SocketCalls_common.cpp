// What the socket calls of both systems share: address text and look-up, and the memory of
// socket objects.
#include "platform/sockets/SocketCalls.h"

#include "platform/sockets/InjectedFault.h"

#ifndef _WIN32
#include <netdb.h>
#endif

#include <cstring>
#include <new>

namespace lanvista::sockets {

bool ResolveIPv4(const char* host, UINT port, std::uint32_t fallback, sockaddr_in& out)
{
    std::memset(&out, 0, sizeof out);
    out.sin_family = AF_INET;
    out.sin_port = htons(static_cast<std::uint16_t>(port));
    if (!host || !*host) {
        out.sin_addr.s_addr = htonl(fallback);
        return fallback != INADDR_NONE;
    }
    if (inet_pton(AF_INET, host, &out.sin_addr) == 1)
        return true;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    if (getaddrinfo(host, nullptr, &hints, &found) != 0 || !found)
        return false;
    out.sin_addr = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
    freeaddrinfo(found);
    return true;
}

std::string AddressText(const in_addr& address)
{
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &address, text, sizeof text);
    return text;
}

void* AllocateSocketObject(std::size_t size) noexcept
{
    int error = 0;
    if (Injected(SocketCall::Allocate, error))
        return nullptr;
    return ::operator new(size, std::nothrow);
}

void FreeSocketObject(void* object) noexcept
{
    ::operator delete(object);
}

}  // namespace lanvista::sockets
