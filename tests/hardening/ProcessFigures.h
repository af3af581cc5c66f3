#pragma once
// Figures of the test process itself: heap in use, peak resident memory and open file
// descriptors, for bounds on growth and for the printed report.

#include <cstddef>

// Bytes handed out by the allocator and not freed yet. Under AddressSanitizer its own
// count, which leaves out the quarantine of freed blocks.
std::size_t HeapInUse();

// The process's peak resident set (VmHWM), in bytes.
std::size_t PeakResidentBytes();

// How many file descriptors the process holds open.
int OpenFileDescriptors();
