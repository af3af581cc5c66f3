#pragma once

#include "platform/WinTypes.h"

#ifndef _WIN32
/// Milliseconds since an arbitrary fixed point (the monotonic clock); wraps at 32 bits.
DWORD GetTickCount();
#endif
