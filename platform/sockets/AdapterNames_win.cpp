#include "platform/sockets/AdapterNames.h"

#include <winsock2.h>
#include <iphlpapi.h>
#include <netioapi.h>

#include <vector>

// An adapter's alias is what GetAdaptersAddresses calls its friendly name, the name the
// adapter list gives it ("Ethernet", "Wi-Fi"); the system converts alias, LUID and index.

namespace lanvista::sockets {

std::string AdapterName(unsigned index)
{
    NET_LUID luid{};
    wchar_t alias[IF_MAX_STRING_SIZE + 1] = {};
    if (index == 0 || ::ConvertInterfaceIndexToLuid(index, &luid) != NO_ERROR ||
        ::ConvertInterfaceLuidToAlias(&luid, alias, IF_MAX_STRING_SIZE + 1) != NO_ERROR)
        return {};
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, alias, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1)
        return {};
    std::string name(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, alias, -1, name.data(), length, nullptr, nullptr);
    name.resize(static_cast<std::size_t>(length - 1));
    return name;
}

unsigned AdapterIndex(const std::string& name)
{
    const int length = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name.c_str(), -1, nullptr, 0);
    if (name.empty() || length <= 0)
        return 0;
    std::vector<wchar_t> alias(static_cast<std::size_t>(length));
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name.c_str(), -1, alias.data(), length);
    NET_LUID luid{};
    NET_IFINDEX index = 0;
    if (::ConvertInterfaceAliasToLuid(alias.data(), &luid) != NO_ERROR ||
        ::ConvertInterfaceLuidToIndex(&luid, &index) != NO_ERROR)
        return 0;
    return index;
}

}  // namespace lanvista::sockets
