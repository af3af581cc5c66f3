#pragma once

#include <cstddef>

/// Lets the whole 2 MiB blocks inside the buffer take huge pages where the system allows:
/// one fault and one clearing per block instead of 512. Only the buffer's own blocks, never
/// a neighbour's; only a hint.
void AdviseHugePages(void* buffer, std::size_t size);

/// Makes the size bytes at buffer resident in one go, in huge pages where the system
/// allows, so that filling a large buffer does not take a page fault for each of its
/// pages. Only a hint: where the system declines it, the pages fault in as they are first
/// written. The bytes in and around the buffer stay as they are.
void PrefaultBuffer(void* buffer, std::size_t size);
