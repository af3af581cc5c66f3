#include "platform/toolkit/CListBox.h"

#include "platform/toolkit/qt/ListBoxWidget.h"
#include "platform/toolkit/qt/QtHandles.h"

#include <climits>

namespace {
ListBoxWidget* ListOf(HWND hWnd)
{
    return hWnd ? qobject_cast<ListBoxWidget*>(WidgetFromHandle(hWnd)) : nullptr;
}
} // namespace

int CListBox::AddString(const char* lpszItem)
{
    ListBoxWidget* list = ListOf(m_hWnd);
    if (list == nullptr)
        return LB_ERR;
    // The shown text is decoded; GetText gives back the bytes as given, valid UTF-8 or not.
    return list->AddEntry(FromUtf8(lpszItem), QByteArray(lpszItem ? lpszItem : ""));
}

int CListBox::DeleteString(UINT nIndex)
{
    ListBoxWidget* list = ListOf(m_hWnd);
    if (list == nullptr || nIndex > static_cast<UINT>(INT_MAX))
        return LB_ERR;
    const int left = list->DeleteEntry(static_cast<int>(nIndex));
    return left < 0 ? LB_ERR : left;
}

int CListBox::GetCount() const
{
    const ListBoxWidget* list = ListOf(m_hWnd);
    return list ? list->count() : LB_ERR;
}

int CListBox::GetCurSel() const
{
    const ListBoxWidget* list = ListOf(m_hWnd);
    const int selected = list ? list->Selected() : -1;
    return selected < 0 ? LB_ERR : selected;
}

int CListBox::SetCurSel(int nSelect)
{
    ListBoxWidget* list = ListOf(m_hWnd);
    if (list == nullptr || !list->Select(nSelect))
        return LB_ERR;
    return nSelect;
}

int CListBox::GetText(int nIndex, std::string& rString) const
{
    const ListBoxWidget* list = ListOf(m_hWnd);
    if (list == nullptr || nIndex < 0 || nIndex >= list->count())
        return LB_ERR;
    const QListWidgetItem* entry = list->item(nIndex);
    const QVariant bytes = entry->data(ListBoxWidget::kEntryBytesRole);
    rString = bytes.isValid() ? bytes.toByteArray().toStdString() : ToUtf8(entry->text());
    return static_cast<int>(rString.size());
}

void CListBox::ResetContent()
{
    if (ListBoxWidget* list = ListOf(m_hWnd))
        list->Clear();
}
