#pragma once

// The inside of CAsyncSocket, one per system: readiness through QSocketNotifier (qt/) or
// through WSAAsyncSelect on a hidden window (win32/). Program code never includes this.
#ifdef _WIN32
#include "platform/sockets/win32/CAsyncSocketPrivate.h"
#else
#include "platform/sockets/qt/CAsyncSocketPrivate.h"
#endif
