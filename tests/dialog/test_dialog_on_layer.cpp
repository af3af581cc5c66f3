// The main dialog through the layer alone, so the same test runs on every backend: its
// state at start, the MAC entry's walk of the focus, and the key filter's Enter.
#include "platform/toolkit/CEdit.h"
#include "platform/toolkit/CMenu.h"
#include "platform/toolkit/CWinApp.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/Wait.h"
#include "ui/CConfigDlg.h"
#include "ui/Resource.h"
#include "ui/Resources.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>

namespace {

constexpr int kMacBoxes[] = {IDC_MAC1, IDC_MAC2, IDC_MAC3, IDC_MAC4, IDC_MAC5, IDC_MAC6};
constexpr int kEndedByTest = 99;

// Loopback only: nothing this test does may reach a real network.
NetworkSettings Loopback()
{
    NetworkSettings network;
    network.localUdpPort = 0;
    network.udpDestination = "127.0.0.1";
    network.remoteUdpPort = 9;
    network.downloadPort = 9;
    return network;
}

// The dialog takes its icon from the application object when it is made, so the application
// and its resources come first.
class DialogOnLayer : public testing::Test {
protected:
    void SetUp() override
    {
        static CWinApp app;
        RegisterResources();
    }
};

// Runs the main dialog modally; steps run inside its loop, then it ends unless they ended it.
INT_PTR RunMainDialog(CConfigDlg& dialog, const std::function<void()>& steps)
{
    return driver::RunModal(dialog, steps, kEndedByTest);
}

std::string TextOf(const CWnd& dialog, int id)
{
    return driver::Text(driver::Control(dialog, id));
}

TEST_F(DialogOnLayer, StartsAsTheTemplateAndInitialisationSay)
{
    CConfigDlg dialog(nullptr, Loopback());
    RunMainDialog(dialog, [&] {
        EXPECT_TRUE(driver::HasFocus(driver::Control(dialog, IDC_SEARCH))) << "the first tab stop";
        EXPECT_EQ(TextOf(dialog, IDC_PORT), "9100");
        EXPECT_EQ(TextOf(dialog, IDC_VERSION), "");
        EXPECT_EQ(dialog.m_ctlDeviceList.GetCount(), 0);
        EXPECT_EQ(dialog.m_ctlRecordList.GetCount(), 0);
        for (CIPAddressCtrl* address : {&dialog.m_ctlIp, &dialog.m_ctlMask, &dialog.m_ctlGateway, &dialog.m_ctlUpdateIp})
            EXPECT_TRUE(address->IsBlank());
        EXPECT_FALSE(dialog.GetDlgItem(IDC_USE_DHCP)->IsWindowEnabled());
        EXPECT_FALSE(dialog.GetDlgItem(IDC_RECORD_LIST)->IsWindowVisible());
        EXPECT_FALSE(dialog.GetDlgItem(IDC_UPDATE_TRACE)->IsWindowVisible());
        EXPECT_EQ(dialog.m_ctlBaudRate.GetCurSel(), 5);
        EXPECT_EQ(dialog.m_ctlFlowControl.GetCurSel(), 1);

        CMenu* menu = dialog.GetSystemMenu(FALSE);
        ASSERT_NE(menu, nullptr);
        const int items = menu->GetMenuItemCount();
        ASSERT_GE(items, 2);
        EXPECT_EQ(menu->GetMenuItemID(items - 2), 0u) << "a separator before the About item";
        EXPECT_EQ(menu->GetMenuItemID(items - 1), static_cast<UINT>(IDM_ABOUTBOX));
        std::string about;
        menu->GetMenuString(IDM_ABOUTBOX, about, MF_BYCOMMAND);
        EXPECT_EQ(about, "Lanvista 정보(&A)...");
        EXPECT_EQ(dialog.GetIcon(TRUE), dialog.m_hIcon);
        EXPECT_EQ(dialog.GetIcon(FALSE), dialog.m_hIcon);
    });
}

TEST_F(DialogOnLayer, TypedMacWalksTheBoxesToSearchAndEnterPressesNothing)
{
    CConfigDlg dialog(nullptr, Loopback());
    MessageBoxRecorder boxes;
    const INT_PTR result = RunMainDialog(dialog, [&] {
        dialog.GetDlgItem(IDC_MAC1)->SetFocus();
        driver::TypeIntoFocus("001122aabbcc");
        const std::array<std::string, 6> expected{"00", "11", "22", "AA", "BB", "CC"};
        ASSERT_TRUE(WaitUntil([&] { return TextOf(dialog, IDC_MAC6) == expected[5]; })) << TextOf(dialog, IDC_MAC6);
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(TextOf(dialog, kMacBoxes[i]), expected[static_cast<std::size_t>(i)]) << i;
        EXPECT_EQ(dialog.m_strMac6, "CC") << "the handler read the box";
        EXPECT_TRUE(driver::HasFocus(driver::Control(dialog, IDC_SEARCH)));

        driver::PressKey(VK_RETURN);
        WaitUntil([] { return false; }, 200);
        EXPECT_EQ(dialog.m_pUdpEndpoint, nullptr) << "Enter started no search";
        EXPECT_EQ(dialog.GetModalResult(), -1) << "nor ended the dialog";
    });
    EXPECT_EQ(result, kEndedByTest);
}

TEST_F(DialogOnLayer, ThirdCharacterIsRefusedAndEmptyBoxStepsBack)
{
    CConfigDlg dialog(nullptr, Loopback());
    RunMainDialog(dialog, [&] {
        dialog.GetDlgItem(IDC_MAC3)->SetFocus();
        driver::TypeIntoFocus("a");
        ASSERT_TRUE(WaitUntil([&] { return TextOf(dialog, IDC_MAC3) == "A"; }));
        driver::PressKey(VK_BACK);
        ASSERT_TRUE(WaitUntil([&] { return driver::HasFocus(driver::Control(dialog, IDC_MAC2)); }))
            << "an emptied box hands the focus back";

        dialog.m_strMac5 = "12";
        dialog.UpdateData(FALSE);
        driver::Type(driver::Control(dialog, IDC_MAC5), "3");
        WaitUntil([] { return false; }, 100);
        EXPECT_EQ(TextOf(dialog, IDC_MAC5), "12") << "a full box takes no third character";
    });
}

TEST_F(DialogOnLayer, AboutBoxFromTheSystemMenuKeepsEnter)
{
    CConfigDlg dialog(nullptr, Loopback());
    std::string focusedText;
    bool aboutEnded = false;
    RunMainDialog(dialog, [&] {
        // Runs inside the About box's own modal loop.
        driver::RunSoon([&] {
            EXPECT_TRUE(driver::ActivateModal());
            const CWnd* focus = CWnd::GetFocus();
            focusedText = focus ? driver::Text(focus->m_hWnd) : std::string();
            driver::PressKey(VK_RETURN);
        });
        dialog.SendMessage(WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
        aboutEnded = true;
    });
    EXPECT_EQ(focusedText, "확인") << "the About box's OK button has the focus";
    EXPECT_TRUE(aboutEnded) << "Enter ended the About box: the main dialog's key filter is not its";
}

TEST_F(DialogOnLayer, ExitRefusedByThePortBoxThenEndsTheDialog)
{
    CConfigDlg dialog(nullptr, Loopback());
    MessageBoxRecorder boxes;
    const INT_PTR result = RunMainDialog(dialog, [&] {
        const HWND port = driver::Control(dialog, IDC_PORT);
        CWnd::FromHandle(port)->SetWindowText("");
        driver::Type(port, "abc");
        ASSERT_TRUE(WaitUntil([&] { return driver::Text(port) == "abc"; }));

        boxes.Expect("양의 정수를 입력하십시오.");
        driver::Click(driver::Control(dialog, IDC_EXIT));
        ASSERT_TRUE(WaitUntil([&] { return boxes.Pending() == 0; })) << "the parse message";
        EXPECT_TRUE(WaitUntil([&] { return driver::HasFocus(port); })) << "the focus is on the port box";
        const auto [start, end] = driver::Selection(port);
        EXPECT_EQ(start, 0);
        EXPECT_EQ(end, 3) << "with its text selected";
        EXPECT_EQ(dialog.GetModalResult(), -1) << "the dialog stays open";

        CWnd::FromHandle(port)->SetWindowText("9100");
        driver::Click(driver::Control(dialog, IDC_EXIT));
        WaitUntil([&] { return dialog.GetModalResult() != -1; });
    });
    EXPECT_EQ(result, IDOK);
}

TEST_F(DialogOnLayer, SystemMenuCloseIsExit)
{
    CConfigDlg dialog(nullptr, Loopback());
    const INT_PTR result = RunMainDialog(dialog, [&] {
        dialog.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
        WaitUntil([&] { return dialog.GetModalResult() != -1; });
    });
    EXPECT_EQ(result, IDOK) << "Exit's validating exchange passed and ended the dialog with OK";
}

TEST_F(DialogOnLayer, MinimisedDialogDragsItsIcon)
{
    CConfigDlg dialog(nullptr, Loopback());
    RunMainDialog(dialog, [&] {
        EXPECT_FALSE(dialog.IsIconic());
        dialog.ShowWindow(SW_MINIMIZE);
        ASSERT_TRUE(WaitUntil([&] { return dialog.IsIconic() != FALSE; }));
        EXPECT_EQ(reinterpret_cast<HICON>(dialog.SendMessage(WM_QUERYDRAGICON)), dialog.m_hIcon);
        dialog.ShowWindow(SW_RESTORE);
        EXPECT_TRUE(WaitUntil([&] { return dialog.IsIconic() == FALSE; }));
    });
}

} // namespace
