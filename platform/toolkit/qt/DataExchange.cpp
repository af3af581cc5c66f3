#include "platform/toolkit/DataExchange.h"

#include "platform/toolkit/qt/ButtonState.h"
#include "platform/toolkit/CWnd.h"
#include "platform/toolkit/DataExchangeFailure.h"
#include "platform/toolkit/DialogNumberText.h"
#include "platform/toolkit/qt/LineEdit.h"
#include "platform/toolkit/MessageBox.h"
#include "platform/toolkit/qt/MultiLineEdit.h"
#include "platform/toolkit/qt/QtHandles.h"
#include "platform/toolkit/qt/WindowText.h"

#include <charconv>
#include <optional>
#include <stdexcept>

namespace {

// The toolkit's validation prompts.
constexpr char kParseUnsignedPrompt[] = "양의 정수를 입력하십시오.";
constexpr char kStringSizePrompt[] = "%1 이하의 문자를 입력하십시오.";
constexpr char kIntegerRangePrompt[] = "%1와(과) %2 사이의 정수를 입력하십시오.";

QString FormatPrompt(const char* prompt, const QString& first, const QString& second = QString())
{
    QString text = QString::fromUtf8(prompt);
    text.replace(QStringLiteral("%1"), first);
    if (!second.isNull())
        text.replace(QStringLiteral("%2"), second);
    return text;
}

[[noreturn]] void FailWithPrompt(CDataExchange* pDX, const QString& prompt)
{
    AfxMessageBox(ToUtf8(prompt).c_str(), MB_ICONEXCLAMATION);
    pDX->Fail();
}

QWidget* WidgetOf(HWND hWnd)
{
    return WidgetFromHandle(hWnd);
}

} // namespace

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    CWnd* control = m_pDlgWnd->GetDlgItem(nIDC);
    if (control == nullptr)
        throw std::invalid_argument("data exchange with a control that does not exist: " + std::to_string(nIDC));
    m_idLastControl = nIDC;
    m_bEditLastControl = FALSE;
    return control->m_hWnd;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    HWND hWnd = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return hWnd;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_idLastControl != 0) {
        if (CWnd* control = m_pDlgWnd->GetDlgItem(m_idLastControl)) {
            control->SetFocus();
            if (m_bEditLastControl) {
                QWidget* widget = WidgetOf(control->m_hWnd);
                if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
                    edit->selectAll();
                } else if (auto* multi = qobject_cast<MultiLineEdit*>(widget)) {
                    multi->ApplyHeldText();
                    multi->selectAll();
                }
            }
        }
    }
    throw DataExchangeFailure{};
}

void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value)
{
    QWidget* widget = WidgetOf(pDX->PrepareEditCtrl(nIDC));
    // An exchange to the controls writes every member, most unchanged: given as a view, an
    // unchanged one is compared in place and never converted.
    if (pDX->m_bSaveAndValidate)
        value = ToUtf8(WindowText(widget));
    else
        SetWindowTextOf(widget, QUtf8StringView(value));
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value)
{
    QWidget* widget = WidgetOf(pDX->PrepareEditCtrl(nIDC));
    if (!pDX->m_bSaveAndValidate) {
        char digits[10];
        const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        SetWindowTextOf(widget, QLatin1StringView(digits, end));
        return;
    }
    const std::optional<UINT> parsed = ParseUnsignedDialogText(ToUtf8(WindowText(widget)));
    if (!parsed)
        FailWithPrompt(pDX, QString::fromUtf8(kParseUnsignedPrompt));
    value = *parsed;
}

void DDV_MaxChars(CDataExchange* pDX, const std::string& value, int nChars)
{
    if (pDX->m_bSaveAndValidate && QString::fromStdString(value).size() > nChars)
        FailWithPrompt(pDX, FormatPrompt(kStringSizePrompt, QString::number(nChars)));
    if (pDX->m_idLastControl != 0 && pDX->m_bEditLastControl) {
        if (CWnd* control = pDX->m_pDlgWnd->GetDlgItem(pDX->m_idLastControl)) {
            if (auto* edit = qobject_cast<LineEdit*>(WidgetOf(control->m_hWnd)))
                edit->SetTextLimit(nChars);
        }
    }
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal)
{
    // Members out of range on their way to the controls are shown as they are.
    if (!pDX->m_bSaveAndValidate)
        return;
    if (value < minVal || value > maxVal)
        FailWithPrompt(pDX, FormatPrompt(kIntegerRangePrompt, QString::number(minVal), QString::number(maxVal)));
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    QWidget* widget = WidgetOf(pDX->PrepareCtrl(nIDC));
    if (pDX->m_bSaveAndValidate) {
        value = CheckStateOf(widget);
        return;
    }
    if (value < 0 || value > 2)
        value = 0;
    SetCheckStateOf(widget, value);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd != nullptr)
        return;
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (!rControl.Attach(hWnd))
        throw std::logic_error("control " + std::to_string(nIDC) + " has a member attached already");
}
