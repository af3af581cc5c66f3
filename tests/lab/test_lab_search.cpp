// Search with the built-in settings: the limited broadcast leaves the PC from port 27700,
// crosses the link, and the devices' replies come back to that port.
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "LabTest.h"

namespace {

using LabSearch = LabTest;

}  // namespace

TEST_F(LabSearch, ForAllListsEveryDeviceOnTheSegment)
{
    SearchAll();

    std::vector<std::string> listed = f.DeviceList();
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, lab.AllMacTexts());
    EXPECT_EQ(f.RecordList().size(), listed.size());

    const LabDevice& device = lab.devices.back();
    ASSERT_NE(RowOf(device.macText), -1);
    f.ClickDeviceListRow(RowOf(device.macText));
    EXPECT_EQ(Shown(f.dialog().m_ctlIp), device.ip);
}

TEST_F(LabSearch, ByMacListsOnlyThatDevice)
{
    const LabDevice& device = lab.devices.at(1);
    const std::string& mac = device.macText;
    for (int box = 0; box < 6; ++box)
        QTest::keyClicks(f.widget(("mac" + std::to_string(box + 1)).c_str()),
                         QString::fromStdString(mac.substr(std::size_t(box) * 3, 2)));

    f.Click(IDC_SEARCH);
    ASSERT_TRUE(f.WaitForDevices(1));
    // The other devices would have answered in the same burst.
    EXPECT_FALSE(f.WaitForDevices(2, 300)) << "listed: " << testing::PrintToString(f.DeviceList());

    EXPECT_EQ(f.DeviceList(), std::vector<std::string>{mac});
    EXPECT_EQ(Shown(f.dialog().m_ctlIp), device.ip);
}
