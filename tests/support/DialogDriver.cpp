// The driver's look-ups, which go through the layer alone.
#include "tests/support/DialogDriver.h"

namespace driver {

HWND Control(const CWnd& dialog, int nID)
{
    const CWnd* control = dialog.GetDlgItem(nID);
    return control ? control->m_hWnd : nullptr;
}

std::string Text(HWND control)
{
    std::string text;
    CWnd::FromHandle(control)->GetWindowText(text);
    return text;
}

bool HasFocus(HWND control)
{
    const CWnd* focus = CWnd::GetFocus();
    return focus != nullptr && focus->m_hWnd == control;
}

} // namespace driver
