#pragma once

#include "platform/toolkit/CWnd.h"

struct CDialogState;

// A dialog built from a template of the resource table.
class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Builds the window, runs OnInitDialog, runs modally until EndDialog, destroys the
    // window (WM_DESTROY reaches the map) and returns the result; -1 without a template.
    virtual INT_PTR DoModal();
    // Modeless: builds the window, runs OnInitDialog and shows it when the template is
    // visible. FALSE when there is no such template or the window exists already.
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    void EndDialog(int nResult);
    int GetModalResult() const;

    // Base: UpdateData(FALSE); TRUE lets the focus go to the first tab stop.
    virtual BOOL OnInitDialog();
    // Base: UpdateData(TRUE), then EndDialog(IDOK) when it succeeded.
    virtual void OnOK();
    // Base: EndDialog(IDCANCEL).
    virtual void OnCancel();
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Commands the dialog does not map go on to the application.
    BOOL OnCmdMsg(UINT nID, int nCode) override;

    DECLARE_MESSAGE_MAP()

private:
    friend struct CDialogProc;
    BOOL CreateFromTemplate(CWnd* pParentWnd);

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    int m_nModalResult = -1;
    std::unique_ptr<CDialogState> m_pDialogState;
};
