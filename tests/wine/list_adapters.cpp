// Prints the adapters a Windows program sees that are up and not loopback, one
// "NAME=ADDRESS" per IPv4 address (the friendly name in UTF-8): what lab/wine-in-lab.sh
// compares with the lab's own adapters before a networked Windows test may run.
#include "platform/sockets/WinSock.h"

#include <iphlpapi.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string Utf8(const wchar_t* text)
{
    const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1)
        return {};
    std::string utf8(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), length, nullptr, nullptr);
    utf8.resize(utf8.size() - 1);
    return utf8;
}

}  // namespace

int main()
{
    ULONG size = 64 * 1024;
    std::vector<unsigned char> buffer(size);
    auto* list = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data());
    const ULONG flags = GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
    if (GetAdaptersAddresses(AF_INET, flags, nullptr, list, &size) != NO_ERROR) {
        std::fprintf(stderr, "list_adapters: GetAdaptersAddresses failed\n");
        return 1;
    }
    for (const IP_ADAPTER_ADDRESSES* a = list; a; a = a->Next) {
        if (a->OperStatus != IfOperStatusUp || a->IfType == IF_TYPE_SOFTWARE_LOOPBACK)
            continue;
        for (const IP_ADAPTER_UNICAST_ADDRESS* u = a->FirstUnicastAddress; u; u = u->Next) {
            char text[INET_ADDRSTRLEN] = {};
            inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(u->Address.lpSockaddr)->sin_addr, text,
                      sizeof text);
            std::printf("%s=%s\n", Utf8(a->FriendlyName).c_str(), text);
        }
    }
    return 0;
}
