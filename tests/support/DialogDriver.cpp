// The driver's look-ups, which go through the layer alone.
#include "tests/support/DialogDriver.h"

#include "platform/toolkit/CButton.h"
#include "platform/toolkit/CEdit.h"
#include "platform/toolkit/CMenu.h"

#include <gtest/gtest.h>

#include <cctype>

namespace driver {
namespace {

// Reads a control through its own wrapper of type T, or, when the dialog holds none of that
// type for it, through one attached for the read.
template <class T, class Read>
auto ReadThrough(HWND control, Read read)
{
    if (auto* own = dynamic_cast<T*>(CWnd::FromHandlePermanent(control)))
        return read(*own);
    T wrapper;
    wrapper.Attach(control);
    auto result = read(wrapper);
    wrapper.Detach();
    return result;
}

} // namespace

HWND Control(const CWnd& dialog, int nID)
{
    const CWnd* control = dialog.GetDlgItem(nID);
    return control ? control->m_hWnd : nullptr;
}

std::pair<int, int> Selection(HWND edit)
{
    return ReadThrough<CEdit>(edit, [](const CEdit& box) {
        int start = -1;
        int end = -1;
        box.GetSel(start, end);
        return std::pair<int, int>(start, end);
    });
}

std::string SelectedText(HWND edit)
{
    const auto [start, end] = Selection(edit);
    const std::string text = Text(edit);
    if (start < 0 || end < start || static_cast<std::size_t>(end) > text.size())
        return {};
    return text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
}

int CheckState(HWND button)
{
    return ReadThrough<CButton>(button, [](const CButton& box) { return box.GetCheck(); });
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

int FocusedId()
{
    const CWnd* focus = CWnd::GetFocus();
    return focus ? focus->GetDlgCtrlID() : 0;
}

void ChooseFromSystemMenu(CWnd& window, UINT command)
{
    CMenu* menu = window.GetSystemMenu(FALSE);
    std::string text;
    if (menu == nullptr || menu->GetMenuString(command, text, MF_BYCOMMAND) == 0) {
        ADD_FAILURE() << "the system menu has no item " << command;
        return;
    }
    // "&&" is a literal ampersand; the mnemonic follows the first single one.
    for (std::size_t at = text.find('&'); at != std::string::npos && at + 1 < text.size();
         at = text.find('&', at + 2)) {
        const unsigned char key = static_cast<unsigned char>(text[at + 1]);
        if (key == '&')
            continue;
        if (key >= 0x80 || !std::isalnum(key))
            break;
        PressInSystemMenu(static_cast<char>(key));
        return;
    }
    ADD_FAILURE() << "the system menu's item \"" << text << "\" has no key to choose it by";
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
