#include "platform/toolkit/CListBox.h"

#include "platform/toolkit/ListBoxWidget.h"
#include "platform/toolkit/QtHandles.h"

#include <climits>

namespace {
constexpr int kEntryBytesRole = Qt::UserRole;

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
    const int row = list->AddEntry(FromUtf8(lpszItem));
    // The shown text is decoded; GetText gives back the bytes as given, valid UTF-8 or not.
    list->item(row)->setData(kEntryBytesRole, QByteArray(lpszItem ? lpszItem : ""));
    return row;
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
    const QVariant bytes = entry->data(kEntryBytesRole);
    rString = bytes.isValid() ? bytes.toByteArray().toStdString() : ToUtf8(entry->text());
    return static_cast<int>(rString.size());
}

void CListBox::ResetContent()
{
    if (ListBoxWidget* list = ListOf(m_hWnd))
        list->Clear();
}
