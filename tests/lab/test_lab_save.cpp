// Save with the built-in settings: the request reaches the device through the limited
// broadcast, and a fresh search shows what the device now holds.
#include <gtest/gtest.h>

#include "LabTest.h"
#include "tests/support/Wait.h"

namespace {

using LabSave = LabTest;

constexpr DWORD kNewIp = 0x0AD54D33;       // 10.213.77.51
constexpr DWORD kNewMask = 0xFFFF0000;     // 255.255.0.0
constexpr DWORD kNewGateway = 0x0AD54DFE;  // 10.213.77.254

}  // namespace

TEST_F(LabSave, NewAddressesAreInTheDeviceAtTheNextSearch)
{
    SearchAll();
    const LabDevice& saved = lab.devices.front();
    const LabDevice& other = lab.devices.back();
    ASSERT_NE(RowOf(saved.macText), -1);
    f.ClickDeviceListRow(RowOf(saved.macText));
    ASSERT_EQ(Shown(f.dialog().m_ctlIp), saved.ip);
    f.dialog().m_ctlIp.SetAddress(kNewIp);
    f.dialog().m_ctlMask.SetAddress(kNewMask);
    f.dialog().m_ctlGateway.SetAddress(kNewGateway);

    boxes.Expect("Save Complete!");
    f.Click(IDC_SAVE);
    ASSERT_TRUE(WaitUntil([&] { return boxes.Pending() == 0; }));

    SearchAll();
    ASSERT_NE(RowOf(saved.macText), -1);
    f.ClickDeviceListRow(RowOf(saved.macText));
    EXPECT_EQ(Shown(f.dialog().m_ctlIp), kNewIp);
    EXPECT_EQ(Shown(f.dialog().m_ctlMask), kNewMask);
    EXPECT_EQ(Shown(f.dialog().m_ctlGateway), kNewGateway);

    f.ClickDeviceListRow(RowOf(other.macText));
    EXPECT_EQ(Shown(f.dialog().m_ctlIp), other.ip) << "the save reached a device it did not name";
}
