#include "platform/toolkit/CEdit.h"

#include "platform/toolkit/qt/LineEdit.h"
#include "platform/toolkit/qt/MultiLineEdit.h"
#include "platform/toolkit/qt/QtHandles.h"

#include <QTextCursor>

namespace {

LineEdit* LineEditOf(HWND hWnd)
{
    return hWnd ? qobject_cast<LineEdit*>(WidgetFromHandle(hWnd)) : nullptr;
}

// Its caret and selection belong to the text it shows, so held text is put in first.
MultiLineEdit* MultiLineOf(HWND hWnd)
{
    auto* edit = hWnd ? qobject_cast<MultiLineEdit*>(WidgetFromHandle(hWnd)) : nullptr;
    if (edit)
        edit->ApplyHeldText();
    return edit;
}

} // namespace

void CEdit::SetLimitText(UINT nMax)
{
    if (LineEdit* edit = LineEditOf(m_hWnd))
        edit->SetTextLimit(nMax > static_cast<UINT>(LineEdit::kLargestLimit) ? 0 : static_cast<int>(nMax));
}

void CEdit::LimitText(int nChars)
{
    SetLimitText(nChars < 0 ? 0u : static_cast<UINT>(nChars));
}

UINT CEdit::GetLimitText() const
{
    const LineEdit* edit = LineEditOf(m_hWnd);
    return static_cast<UINT>(edit ? edit->TextLimit() : LineEdit::kLargestLimit);
}

void CEdit::SetSel(int nStartChar, int nEndChar)
{
    if (LineEdit* edit = LineEditOf(m_hWnd)) {
        const int length = static_cast<int>(edit->text().size());
        if (nStartChar < 0) {
            edit->deselect();
            return;
        }
        const int start = std::min(nStartChar, length);
        const int end = (nEndChar < 0 || nEndChar > length) ? length : nEndChar;
        // The caret stands at the end given second, as on the platform.
        edit->setSelection(start, end - start);
        return;
    }
    if (MultiLineEdit* edit = MultiLineOf(m_hWnd)) {
        QTextCursor cursor = edit->textCursor();
        const int length = static_cast<int>(edit->toPlainText().size());
        if (nStartChar < 0) {
            cursor.clearSelection();
        } else {
            cursor.setPosition(std::min(nStartChar, length));
            cursor.setPosition((nEndChar < 0 || nEndChar > length) ? length : nEndChar, QTextCursor::KeepAnchor);
        }
        edit->setTextCursor(cursor);
    }
}

void CEdit::GetSel(int& nStartChar, int& nEndChar) const
{
    nStartChar = 0;
    nEndChar = 0;
    if (const LineEdit* edit = LineEditOf(m_hWnd)) {
        if (edit->hasSelectedText()) {
            nStartChar = edit->selectionStart();
            nEndChar = edit->selectionEnd();
        } else {
            nStartChar = nEndChar = edit->cursorPosition();
        }
    } else if (const MultiLineEdit* multi = MultiLineOf(m_hWnd)) {
        const QTextCursor cursor = multi->textCursor();
        nStartChar = cursor.selectionStart();
        nEndChar = cursor.selectionEnd();
    }
}

DWORD CEdit::GetSel() const
{
    int start = 0;
    int end = 0;
    GetSel(start, end);
    return MAKELONG(static_cast<unsigned>(start), static_cast<unsigned>(end));
}
