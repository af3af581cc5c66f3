#pragma once

#include "platform/sockets/WinSock.h"

/// Starts the socket layer asking for Windows Sockets 1.1; succeeds only when exactly 1.1
/// is granted (otherwise the layer is released again). Fills `data` when given.
BOOL AfxSocketInit(WSADATA* data = nullptr);

/// Test seam: the start-up function AfxSocketInit calls. nullptr restores WSAStartup.
using WSAStartupFunction = int (*)(WORD, WSADATA*);
void SetWSAStartupForTesting(WSAStartupFunction fn);
