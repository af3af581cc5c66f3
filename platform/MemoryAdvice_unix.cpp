#include "platform/MemoryAdvice.h"

#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

void AdviseHugePages(void* buffer, std::size_t size)
{
    constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
    const auto start = reinterpret_cast<std::uintptr_t>(buffer);
    const auto hugeBegin = (start + kHugePage - 1) & ~(kHugePage - 1);
    const auto hugeEnd = (start + size) & ~(kHugePage - 1);
    if (hugeBegin < hugeEnd)
        ::madvise(reinterpret_cast<void*>(hugeBegin), hugeEnd - hugeBegin, MADV_HUGEPAGE);
}

void PrefaultBuffer(void* buffer, std::size_t size)
{
    if (buffer == nullptr || size == 0)
        return;
    AdviseHugePages(buffer, size);
    // madvise takes whole pages; the pages the buffer shares with its neighbours are only
    // made resident, their bytes stay as they are. A kernel older than 5.14 refuses it.
    const auto start = reinterpret_cast<std::uintptr_t>(buffer);
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto first = start & ~(page - 1);
    ::madvise(reinterpret_cast<void*>(first), start + size - first, MADV_POPULATE_WRITE);
}
