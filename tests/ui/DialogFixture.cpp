#include "DialogFixture.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <QWidget>
#endif

#include "UdpPeer.h"
#include "platform/toolkit/CWinApp.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/Wait.h"
#include "ui/Resource.h"
#include "ui/Resources.h"

namespace {

void EnsureApplication()
{
    // The program's own application object is not linked into tests; dialogs still need one.
    if (!AfxGetApp())
        static CWinApp testApp;
    RegisterResources();
}

std::vector<std::string> Entries(const CListBox& list)
{
    std::vector<std::string> entries;
    for (int i = 0; i < list.GetCount(); ++i) {
        std::string text;
        list.GetText(i, text);
        entries.push_back(text);
    }
    return entries;
}

}  // namespace

DialogFixture::DialogFixture(const NetworkSettings& network)
{
    EnsureApplication();
    m_dialog = std::make_unique<CConfigDlg>(nullptr, network);
    EXPECT_TRUE(m_dialog->Create(IDD_CONFIG_DIALOG, nullptr));
    if (!m_dialog->GetSafeHwnd())
        return;
    m_dialog->ShowWindow(SW_SHOW);
    EXPECT_TRUE(driver::Activate(*m_dialog)) << "the dialog did not become the active window";
}

DialogFixture::~DialogFixture()
{
    if (m_dialog->GetSafeHwnd())
        m_dialog->DestroyWindow();
}

HWND DialogFixture::control(int id) const
{
    const HWND found = driver::Control(*m_dialog, id);
    EXPECT_NE(found, nullptr) << "no control " << id;
    return found;
}

std::string DialogFixture::Text(int id) const
{
    const HWND found = control(id);
    return found ? driver::Text(found) : std::string();
}

BOOL DialogFixture::IsEnabled(int id) const
{
    const CWnd* found = m_dialog->GetDlgItem(id);
    EXPECT_NE(found, nullptr) << "no control " << id;
    return found ? found->IsWindowEnabled() : FALSE;
}

void DialogFixture::Click(int id)
{
    if (const HWND target = control(id))
        driver::Click(target);
}

void DialogFixture::ClickDeviceListRow(int row)
{
    const HWND list = control(IDC_DEVICE_LIST);
    ASSERT_NE(list, nullptr);
    ASSERT_LT(row, m_dialog->m_ctlDeviceList.GetCount()) << "no row " << row;
    driver::ClickListEntry(list, row);
}

bool DialogFixture::WaitForDevices(int count, int timeoutMs)
{
    return WaitUntil([&] { return m_dialog->m_ctlDeviceList.GetCount() >= count; }, timeoutMs);
}

std::vector<std::string> DialogFixture::DeviceList() const
{
    return Entries(m_dialog->m_ctlDeviceList);
}

std::vector<std::string> DialogFixture::RecordList() const
{
    return Entries(m_dialog->m_ctlRecordList);
}

#ifndef _WIN32
QWidget* DialogFixture::window() const
{
    QWidget* top = reinterpret_cast<QWidget*>(m_dialog->GetSafeHwnd());
    EXPECT_NE(top, nullptr) << "the dialog has no window";
    return top;
}

QWidget* DialogFixture::widget(const char* objectName) const
{
    QWidget* top = window();
    QWidget* found = top ? top->findChild<QWidget*>(QString::fromLatin1(objectName)) : nullptr;
    EXPECT_NE(found, nullptr) << "no control named " << objectName;
    return found;
}
#endif

NetworkSettings LoopbackNetwork(std::uint16_t remotePort)
{
    NetworkSettings network;
    network.localUdpPort = FreeUdpPort();
    network.udpDestination = "127.0.0.1";
    network.remoteUdpPort = remotePort;
    return network;
}

std::uint16_t FreeUdpPort()
{
    const UdpPeer probe(true);
    return probe.port();
}
