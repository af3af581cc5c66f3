#include "platform/sockets/AfxSocketInit.h"

namespace {
WSAStartupFunction g_startup = &WSAStartup;
}

void SetWSAStartupForTesting(WSAStartupFunction fn)
{
    g_startup = fn ? fn : &WSAStartup;
}

BOOL AfxSocketInit(WSADATA* data)
{
    WSADATA local;
    WSADATA* granted = data ? data : &local;
    if (g_startup(MAKEWORD(1, 1), granted) != 0)
        return FALSE;
    if (LOBYTE(granted->wVersion) != 1 || HIBYTE(granted->wVersion) != 1) {
        WSACleanup();
        return FALSE;
    }
    return TRUE;
}
