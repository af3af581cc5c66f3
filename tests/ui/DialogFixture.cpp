#include "DialogFixture.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHostAddress>
#include <QTest>
#include <QUdpSocket>
#include <QWidget>

#include <gtest/gtest.h>

#include "platform/toolkit/CWinApp.h"
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
    QWidget* top = window();
    if (!top)
        return;
    top->show();
    QApplication::setActiveWindow(top);
    EXPECT_TRUE(QTest::qWaitForWindowActive(top));
}

DialogFixture::~DialogFixture()
{
    if (m_dialog->GetSafeHwnd())
        m_dialog->DestroyWindow();
}

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

void DialogFixture::Click(const char* objectName)
{
    if (QWidget* target = widget(objectName))
        QTest::mouseClick(target, Qt::LeftButton);
}

void DialogFixture::ClickDeviceListRow(int row)
{
    auto* list = widget<QAbstractItemView>("deviceList");
    ASSERT_NE(list, nullptr);
    const QModelIndex index = list->model()->index(row, 0);
    ASSERT_TRUE(index.isValid()) << "no row " << row;
    list->scrollTo(index);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualRect(index).center());
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

NetworkSettings LoopbackNetwork(quint16 remotePort)
{
    NetworkSettings network;
    network.localUdpPort = FreeUdpPort();
    network.udpDestination = "127.0.0.1";
    network.remoteUdpPort = remotePort;
    return network;
}

quint16 FreeUdpPort()
{
    QUdpSocket probe;
    EXPECT_TRUE(probe.bind(QHostAddress::AnyIPv4, 0, QAbstractSocket::DontShareAddress));
    return probe.localPort();
}
