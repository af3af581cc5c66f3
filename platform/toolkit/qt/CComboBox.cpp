#include "platform/toolkit/CComboBox.h"

#include "platform/toolkit/qt/QtHandles.h"

#include <QComboBox>

namespace {
QComboBox* ComboOf(HWND hWnd)
{
    return hWnd ? qobject_cast<QComboBox*>(WidgetFromHandle(hWnd)) : nullptr;
}
} // namespace

int CComboBox::AddString(const char* lpszString)
{
    QComboBox* combo = ComboOf(m_hWnd);
    if (combo == nullptr)
        return CB_ERR;
    // Adding the first entry must not select it: the platform's list starts unselected.
    const int selected = combo->currentIndex();
    combo->addItem(FromUtf8(lpszString));
    if (selected < 0)
        combo->setCurrentIndex(-1);
    return combo->count() - 1;
}

int CComboBox::GetCount() const
{
    const QComboBox* combo = ComboOf(m_hWnd);
    return combo ? combo->count() : CB_ERR;
}

int CComboBox::GetCurSel() const
{
    const QComboBox* combo = ComboOf(m_hWnd);
    return combo && combo->currentIndex() >= 0 ? combo->currentIndex() : CB_ERR;
}

int CComboBox::SetCurSel(int nSelect)
{
    QComboBox* combo = ComboOf(m_hWnd);
    if (combo == nullptr || nSelect < -1 || nSelect >= combo->count())
        return CB_ERR;
    combo->setCurrentIndex(nSelect);
    return nSelect < 0 ? CB_ERR : nSelect;
}

int CComboBox::GetLBText(int nIndex, std::string& rString) const
{
    const QComboBox* combo = ComboOf(m_hWnd);
    if (combo == nullptr || nIndex < 0 || nIndex >= combo->count())
        return CB_ERR;
    const QString text = combo->itemText(nIndex);
    rString = ToUtf8(text);
    return static_cast<int>(text.size());
}
