#include "platform/sockets/AdapterNames.h"

#include <ifaddrs.h>
#include <net/if.h>

namespace lanvista::sockets {

std::string AdapterName(unsigned index)
{
    char name[IF_NAMESIZE] = {};
    return index > 0 && ::if_indextoname(index, name) != nullptr ? std::string(name) : std::string();
}

unsigned AdapterIndex(const std::string& name)
{
    // A label is the interface's name, a colon and more. The kernel ignores what follows a
    // colon when it looks a name up, so a label is taken only when an address carries it.
    const std::size_t colon = name.find(':');
    if (colon == std::string::npos)
        return ::if_nametoindex(name.c_str());
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0)
        return 0;
    bool labelled = false;
    for (const ifaddrs* entry = list; entry != nullptr && !labelled; entry = entry->ifa_next)
        labelled = entry->ifa_name != nullptr && name == entry->ifa_name;
    ::freeifaddrs(list);
    return labelled ? ::if_nametoindex(name.substr(0, colon).c_str()) : 0;
}

}  // namespace lanvista::sockets
