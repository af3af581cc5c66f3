#include "platform/toolkit/DataExchange.h"

#include "platform/toolkit/CWnd.h"
#include "platform/toolkit/ControlAccess.h"
#include "platform/toolkit/DataExchangeFailure.h"
#include "platform/toolkit/DialogNumberText.h"
#include "platform/toolkit/MessageBox.h"
#include "platform/toolkit/Utf16Text.h"

#include <charconv>
#include <optional>
#include <stdexcept>

namespace {

// The toolkit's validation prompts.
constexpr char kParseUnsignedPrompt[] = "양의 정수를 입력하십시오.";
constexpr char kStringSizePrompt[] = "%1 이하의 문자를 입력하십시오.";
constexpr char kIntegerRangePrompt[] = "%1와(과) %2 사이의 정수를 입력하십시오.";

void ReplaceAll(std::string& text, std::string_view mark, std::string_view value)
{
    for (std::size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + value.size()))
        text.replace(at, mark.size(), value);
}

std::string FormatPrompt(const char* prompt, long long first)
{
    std::string text = prompt;
    ReplaceAll(text, "%1", std::to_string(first));
    return text;
}

std::string FormatPrompt(const char* prompt, long long first, long long second)
{
    std::string text = FormatPrompt(prompt, first);
    ReplaceAll(text, "%2", std::to_string(second));
    return text;
}

[[noreturn]] void FailWithPrompt(CDataExchange* pDX, const std::string& prompt)
{
    AfxMessageBox(prompt.c_str(), MB_ICONEXCLAMATION);
    pDX->Fail();
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
            if (m_bEditLastControl)
                SelectAllText(control->m_hWnd);
        }
    }
    throw DataExchangeFailure{};
}

void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value)
{
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    // An exchange to the controls writes every member, most unchanged: an unchanged one is
    // compared in place and never rewritten.
    if (pDX->m_bSaveAndValidate)
        value = ControlText(hWnd);
    else
        SetControlText(hWnd, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value)
{
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (!pDX->m_bSaveAndValidate) {
        char digits[10];
        const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        SetControlText(hWnd, std::string_view(digits, static_cast<std::size_t>(end - digits)));
        return;
    }
    const std::optional<UINT> parsed = ParseUnsignedDialogText(ControlText(hWnd));
    if (!parsed)
        FailWithPrompt(pDX, kParseUnsignedPrompt);
    value = *parsed;
}

void DDV_MaxChars(CDataExchange* pDX, const std::string& value, int nChars)
{
    // Characters as the edit control counts them: UTF-16 units.
    if (pDX->m_bSaveAndValidate && WideFromUtf8(value).size() > static_cast<std::size_t>(nChars))
        FailWithPrompt(pDX, FormatPrompt(kStringSizePrompt, nChars));
    if (pDX->m_idLastControl != 0 && pDX->m_bEditLastControl) {
        if (CWnd* control = pDX->m_pDlgWnd->GetDlgItem(pDX->m_idLastControl))
            LimitEditText(control->m_hWnd, nChars);
    }
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal)
{
    // Members out of range on their way to the controls are shown as they are.
    if (!pDX->m_bSaveAndValidate)
        return;
    if (value < minVal || value > maxVal)
        FailWithPrompt(pDX, FormatPrompt(kIntegerRangePrompt, minVal, maxVal));
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = ControlCheckState(hWnd);
        return;
    }
    if (value < 0 || value > 2)
        value = 0;
    SetControlCheckState(hWnd, value);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd != nullptr)
        return;
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (!rControl.Attach(hWnd))
        throw std::logic_error("control " + std::to_string(nIDC) + " has a member attached already");
}
