#pragma once

#include "platform/WinTypes.h"

/// Milliseconds since an arbitrary fixed point (the monotonic clock); wraps at 32 bits.
DWORD GetTickCount();
