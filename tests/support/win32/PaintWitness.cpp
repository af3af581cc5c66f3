#include "tests/support/PaintWitness.h"

#include <windows.h>

#include <commctrl.h>

struct PaintWitness::Hook {
    HWND control = nullptr;
    std::function<void()> onPaint;

    static LRESULT CALLBACK Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data)
    {
        if (message == WM_PAINT)
            reinterpret_cast<Hook*>(data)->onPaint();
        return ::DefSubclassProc(hWnd, message, wParam, lParam);
    }
};

namespace {

constexpr UINT_PTR kSubclassId = 0x5057;  // "PW"

} // namespace

PaintWitness::PaintWitness(HWND control, std::function<void()> onPaint) : m_hook(std::make_unique<Hook>())
{
    m_hook->control = control;
    m_hook->onPaint = std::move(onPaint);
    ::SetWindowSubclass(control, &Hook::Proc, kSubclassId, reinterpret_cast<DWORD_PTR>(m_hook.get()));
}

PaintWitness::~PaintWitness()
{
    ::RemoveWindowSubclass(m_hook->control, &Hook::Proc, kSubclassId);
}
