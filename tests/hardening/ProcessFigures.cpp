#include "ProcessFigures.h"

#include <dirent.h>
#include <malloc.h>

#include <fstream>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
#define LANVISTA_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LANVISTA_ASAN 1
#endif
#endif

#ifdef LANVISTA_ASAN
// The sanitizer runtime's own count (GCC ships no header that declares it).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

std::size_t HeapInUse()
{
#ifdef LANVISTA_ASAN
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
#endif
}

std::size_t PeakResidentBytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stoul(line.substr(6)) * 1024;
    return 0;
}

int OpenFileDescriptors()
{
    DIR* dir = opendir("/proc/self/fd");
    if (!dir)
        return -1;
    int count = 0;
    while (const dirent* entry = readdir(dir))
        if (entry->d_name[0] != '.')
            ++count;
    closedir(dir);
    // The descriptor of the listing itself.
    return count - 1;
}
