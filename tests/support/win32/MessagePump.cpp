#include "tests/support/win32/MessagePump.h"

#include "platform/toolkit/win32/LayerWindow.h"

bool PumpOne()
{
    MSG msg{};
    if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        return false;
    HWND root = msg.hwnd ? ::GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root != nullptr && CWndState::WalkPreTranslate(root, &msg))
        return true;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
    return true;
}
