#include "platform/toolkit/WinUser.h"

int GetSystemMetrics(int nIndex)
{
    switch (nIndex) {
    case SM_CXICON:
    case SM_CYICON:
        return 32;
    default:
        return 0;
    }
}
