// The driver's look-ups, which go through the layer alone.
#include "tests/support/DialogDriver.h"

#include "platform/toolkit/CEdit.h"

#include <gtest/gtest.h>

namespace driver {

HWND Control(const CWnd& dialog, int nID)
{
    const CWnd* control = dialog.GetDlgItem(nID);
    return control ? control->m_hWnd : nullptr;
}

std::pair<int, int> Selection(HWND edit)
{
    // A dialog that holds no CEdit of its own for the box gets a wrapper attached for the read.
    if (auto* own = dynamic_cast<CEdit*>(CWnd::FromHandlePermanent(edit))) {
        int start = -1;
        int end = -1;
        own->GetSel(start, end);
        return {start, end};
    }
    CEdit box;
    box.Attach(edit);
    int start = -1;
    int end = -1;
    box.GetSel(start, end);
    box.Detach();
    return {start, end};
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

INT_PTR RunModal(CDialog& dialog, const std::function<void()>& steps, int endedByTest)
{
    RunSoon([&dialog, &steps, endedByTest] {
        if (Activate(dialog))
            steps();
        else
            ADD_FAILURE() << "the dialog did not become the active window";
        if (dialog.m_hWnd != nullptr && dialog.GetModalResult() == -1)
            dialog.EndDialog(endedByTest);
    });
    return dialog.DoModal();
}

} // namespace driver
