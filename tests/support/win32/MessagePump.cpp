#include "tests/support/win32/MessagePump.h"

#include "platform/toolkit/win32/LayerWindow.h"

bool PumpOne(UINT first, UINT last)
{
    MSG msg{};
    if (!::PeekMessageW(&msg, nullptr, first, last, PM_REMOVE))
        return false;
    HWND root = msg.hwnd ? ::GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root != nullptr && CWndState::WalkPreTranslate(root, &msg))
        return true;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
    return true;
}
