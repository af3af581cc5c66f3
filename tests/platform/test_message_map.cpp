// Message maps: entries looked up in the class's table and then its bases', commands by
// control id and notification code, handler signatures, virtual dispatch through a base
// entry, the platform default, commands routed on to the application, and the lockout of
// control notifications during a data exchange.
#include "platform/toolkit/CDialog.h"
#include "platform/toolkit/CWinApp.h"
#include "platform/toolkit/DataExchange.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr UINT kButton = 100;
constexpr UINT kEdit = 101;

class BaseWindow : public CWnd {
public:
    std::vector<std::string> calls;

protected:
    void OnButton() { calls.push_back("Base::OnButton"); }
    void OnEditClicked() { calls.push_back("Base::OnEditClicked"); }
    void OnPaint() { calls.push_back("Base::OnPaint"); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BaseWindow, CWnd)
    ON_COMMAND(kButton, &BaseWindow::OnButton)
    ON_BN_CLICKED(kEdit, &BaseWindow::OnEditClicked)
    ON_WM_PAINT()
END_MESSAGE_MAP()

class DerivedWindow : public BaseWindow {
public:
    std::vector<MSG> defaults;
    HICON dragIcon = reinterpret_cast<HICON>(0x1234);

protected:
    void OnButtonHere() { calls.push_back("Derived::OnButtonHere"); }
    void OnEditUpdate() { calls.push_back("Derived::OnEditUpdate"); }
    void OnSysCommand(UINT nID, LPARAM lParam)
    {
        calls.push_back("Derived::OnSysCommand " + std::to_string(nID) + " " + std::to_string(lParam));
        Default();
    }
    HCURSOR OnQueryDragIcon() { return dragIcon; }
    void OnDestroy() { calls.push_back("Derived::OnDestroy"); }

    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        defaults.push_back(MSG{nullptr, message, wParam, lParam, 0, {0, 0}});
        return CWnd::DefWindowProc(message, wParam, lParam);
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedWindow, BaseWindow)
    ON_BN_CLICKED(kButton, &DerivedWindow::OnButtonHere)
    ON_EN_UPDATE(kEdit, &DerivedWindow::OnEditUpdate)
    ON_WM_SYSCOMMAND()
    ON_WM_QUERYDRAGICON()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

LRESULT Command(CWnd& wnd, UINT id, UINT code)
{
    return wnd.SendMessage(WM_COMMAND, MAKEWPARAM(id, code), 0);
}

TEST(MessageMap, TheClassesOwnEntryWinsThenTheBaseMapsAnswer)
{
    DerivedWindow window;
    EXPECT_EQ(Command(window, kButton, BN_CLICKED), 1);
    EXPECT_EQ(Command(window, kEdit, BN_CLICKED), 1);
    EXPECT_EQ(Command(window, kEdit, EN_UPDATE), 1);
    EXPECT_EQ(Command(window, kEdit, EN_CHANGE), 0) << "no entry: the command goes unhandled";
    EXPECT_EQ(Command(window, 999, BN_CLICKED), 0);
    window.SendMessage(WM_PAINT);
    EXPECT_EQ(window.calls,
              (std::vector<std::string>{"Derived::OnButtonHere", "Base::OnEditClicked", "Derived::OnEditUpdate",
                                        "Base::OnPaint"}));
}

TEST(MessageMap, HandlersGetTheirParametersAndDefaultReachesThePlatform)
{
    DerivedWindow window;
    window.SendMessage(WM_SYSCOMMAND, SC_MOVE + 2, 77);
    EXPECT_EQ(window.calls, (std::vector<std::string>{"Derived::OnSysCommand 61458 77"}));
    ASSERT_EQ(window.defaults.size(), 1u);
    EXPECT_EQ(window.defaults[0].message, WM_SYSCOMMAND);
    EXPECT_EQ(window.defaults[0].wParam, SC_MOVE + 2);
    EXPECT_EQ(window.defaults[0].lParam, 77);

    EXPECT_EQ(reinterpret_cast<HICON>(window.SendMessage(WM_QUERYDRAGICON)), window.dragIcon);
    window.SendMessage(WM_DESTROY);
    EXPECT_EQ(window.calls.back(), "Derived::OnDestroy");
    window.defaults.clear();
    window.SendMessage(WM_CLOSE);
    ASSERT_EQ(window.defaults.size(), 1u) << "an unmapped message goes to the platform";
    EXPECT_EQ(window.defaults[0].message, WM_CLOSE);
}

class ExitDialog : public CDialog {
public:
    ExitDialog() : CDialog(1) {}
    int ok = 0;
    int cancel = 0;
    int controlCommands = 0;
    bool sendDuringExchange = false;

    void OnOK() override { ++ok; }
    void OnCancel() override { ++cancel; }
    void DoDataExchange(CDataExchange*) override
    {
        if (!sendDuringExchange)
            return;
        SendMessage(WM_COMMAND, MAKEWPARAM(kButton, BN_CLICKED), 1);
        SendMessage(WM_COMMAND, MAKEWPARAM(kButton, BN_CLICKED), 0);
    }

protected:
    void OnControl() { ++controlCommands; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ExitDialog, CDialog)
    ON_BN_CLICKED(kEdit, &ExitDialog::OnCancel)
    ON_BN_CLICKED(kButton, &ExitDialog::OnControl)
END_MESSAGE_MAP()

// Overrides again below the class whose map names the handler.
class FurtherDialog : public ExitDialog {
public:
    int furtherCancel = 0;
    void OnCancel() override { ++furtherCancel; }
};

TEST(MessageMap, BaseEntriesCallVirtualHandlersOfTheMostDerivedClass)
{
    FurtherDialog dialog;
    Command(dialog, IDOK, BN_CLICKED);
    Command(dialog, IDCANCEL, BN_CLICKED);
    Command(dialog, kEdit, BN_CLICKED);
    EXPECT_EQ(dialog.ok, 1) << "CDialog's map: IDOK to OnOK";
    EXPECT_EQ(dialog.furtherCancel, 2) << "IDCANCEL and the button both reach the last override";
    EXPECT_EQ(dialog.cancel, 0);
}

TEST(MessageMap, ControlNotificationsAreLockedOutDuringAnExchange)
{
    ExitDialog dialog;
    dialog.sendDuringExchange = true;
    EXPECT_EQ(dialog.UpdateData(TRUE), TRUE);
    EXPECT_EQ(dialog.controlCommands, 1) << "only the command without a control handle";
    EXPECT_EQ(dialog.SendMessage(WM_COMMAND, MAKEWPARAM(kButton, BN_CLICKED), 1), 1);
    EXPECT_EQ(dialog.controlCommands, 2) << "after the exchange notifications flow again";
}

class HelpApp : public CWinApp {
public:
    int help = 0;

protected:
    void OnHelpCommand() { ++help; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(HelpApp, CWinApp)
    ON_COMMAND(ID_HELP, &HelpApp::OnHelpCommand)
    ON_COMMAND(0x0100, &HelpApp::OnHelpCommand)
END_MESSAGE_MAP()

TEST(MessageMap, ApplicationCommandsGoOnToTheApplication)
{
    ASSERT_EQ(AfxGetApp(), nullptr);
    HelpApp app;
    ASSERT_EQ(AfxGetApp(), &app);
    ExitDialog dialog;
    EXPECT_EQ(Command(dialog, ID_HELP, 0), 1);
    EXPECT_EQ(app.help, 1);
    EXPECT_EQ(Command(dialog, 0x0100, 0), 0) << "control ids stay with the dialog";
    EXPECT_EQ(app.help, 1);
}

} // namespace
