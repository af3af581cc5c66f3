#include "tests/support/Wait.h"

#include "platform/toolkit/win32/LayerWindow.h"
#include "platform/toolkit/win32/Win32Api.h"

namespace {

// One message handled as the modal loop of the window's dialog handles it: the key
// filter's walk first.
void PumpOne()
{
    Win32MSG native{};
    if (!::PeekMessageW(&native, nullptr, 0, 0, PM_REMOVE)) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        return;
    }
    MSG msg{native.hwnd, native.message, native.wParam, native.lParam, static_cast<DWORD>(native.time),
            POINT{native.pt.x, native.pt.y}};
    HWND root = native.hwnd ? ::GetAncestor(native.hwnd, GA_ROOT) : nullptr;
    if (root != nullptr && CWndState::WalkPreTranslate(root, &msg))
        return;
    ::TranslateMessage(&native);
    ::DispatchMessageW(&native);
}

} // namespace

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    const ULONGLONG deadline = ::GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    while (!condition()) {
        if (::GetTickCount64() >= deadline)
            return condition();
        PumpOne();
    }
    return true;
}
