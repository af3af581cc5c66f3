#include "tests/support/Wait.h"

#include "tests/support/win32/MessagePump.h"

#include <windows.h>

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    const ULONGLONG deadline = ::GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    while (!condition()) {
        if (::GetTickCount64() >= deadline)
            return condition();
        if (!PumpOne())
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return true;
}
