#pragma once

#include "platform/toolkit/CCmdTarget.h"
#include "platform/toolkit/MessageMap.h"
#include "platform/toolkit/WinUser.h"

#include <memory>
#include <string>

class CDataExchange;
class CMenu;
struct CWndState;

// A window of the layer: a dialog or one of its controls. A control member becomes the
// permanent wrapper of its control when attached (DDX_Control) until the window goes.
class CWnd : public CCmdTarget {
public:
    CWnd();
    ~CWnd() override;

    HWND m_hWnd = nullptr;

    HWND GetSafeHwnd() const;
    // The attached wrapper of hWnd, or nullptr.
    static CWnd* FromHandlePermanent(HWND hWnd);
    // The attached wrapper, else a wrapper owned by the window's dialog; nullptr for a
    // handle that belongs to no dialog of the layer.
    static CWnd* FromHandle(HWND hWnd);
    BOOL Attach(HWND hWndNew);
    HWND Detach();

    // The permanent wrapper of control nID, else a wrapper owned by this window.
    CWnd* GetDlgItem(int nID) const;
    int GetDlgCtrlID() const;
    // Returns the window that had the focus before, or nullptr.
    CWnd* SetFocus();
    static CWnd* GetFocus();
    // Returns TRUE when the window was disabled before.
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const;
    // Returns TRUE when the window was visible before.
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    BOOL IsIconic() const;
    void SetWindowText(const char* lpszString);
    void GetWindowText(std::string& rString) const;
    int GetWindowTextLength() const;
    void GetClientRect(RECT* lpRect) const;
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // FALSE: the window's system menu, which the program may extend. TRUE: resets it to
    // the platform items and returns nullptr.
    CMenu* GetSystemMenu(BOOL bRevert);
    // Returns the icon that was set before for that size.
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    HICON GetIcon(BOOL bBigIcon) const;
    // nullptr caption: the application title.
    int MessageBox(const char* lpszText, const char* lpszCaption = nullptr, UINT nType = MB_OK);

    // Exchanges the members with the controls through DoDataExchange; FALSE when a
    // validation failed. No control notification reaches this window meanwhile.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX);
    // TRUE consumes the message before the toolkit dispatches it.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual BOOL DestroyWindow();

protected:
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnDestroy();
    // The platform's handling of the message being dispatched.
    LRESULT Default();
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    // Called by a window that created its own widget (dialogs).
    void SetOwnedWindow(HWND hWnd);

    DECLARE_MESSAGE_MAP()

private:
    friend struct CWndState;
    void ReleaseWindowLinks();

    std::unique_ptr<CWndState> m_pState;
    // Exchanges running on this window; control notifications wait for none.
    int m_nExchangeDepth = 0;
};
