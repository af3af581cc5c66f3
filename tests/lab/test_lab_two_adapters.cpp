// A PC whose adapters reach the devices more than once: two adapters on one segment, or two
// benches at factory defaults whose segments carry the same subnet. The search goes out
// through each adapter; every device is still listed once, and a Save is written once and
// confirmed once.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "LabTest.h"
#include "tests/support/Wait.h"

namespace {

// Doubles would come in the same burst as the first answers; this is ample for them.
constexpr int kSettleMs = 500;

class LabTwoAdapters : public LabTest {
protected:
    // Searches and lets late doubles come in too.
    void SearchAndSettle()
    {
        SearchAll();
        const int expected = static_cast<int>(lab.AllMacTexts().size());
        EXPECT_FALSE(f.WaitForDevices(expected + 1, kSettleMs))
            << "listed: " << testing::PrintToString(f.DeviceList());
    }

    // Lines of a simulator's log that record a save of this MAC (as the device holds it).
    static int SavesLogged(const char* log, const std::string& macText)
    {
        std::string mac12 = macText;
        mac12.erase(std::remove(mac12.begin(), mac12.end(), ':'), mac12.end());
        std::ifstream in(std::string(std::getenv("LANVISTA_LAB_LOGS")) + "/" + log);
        int saves = 0;
        for (std::string line; std::getline(in, line);)
            saves += line.find(": save 10 " + mac12 + " ") != std::string::npos ? 1 : 0;
        return saves;
    }
};

constexpr DWORD kNewGateway = 0x0AD54DFE;  // 10.213.77.254

}  // namespace

TEST_F(LabTwoAdapters, SearchListsEveryDeviceOnce)
{
    ASSERT_GE(lab.adapters.size(), 2u) << "this lab gives the PC one adapter";
    SearchAndSettle();
    std::vector<std::string> listed = f.DeviceList();
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, lab.AllMacTexts());
    EXPECT_EQ(f.RecordList().size(), listed.size());
}

TEST_F(LabTwoAdapters, SaveIsWrittenOnceAndConfirmedOnce)
{
    ASSERT_NE(std::getenv("LANVISTA_LAB_LOGS"), nullptr);
    // On two benches, a device of the second one: its twin address sits on the first.
    const bool benches = !lab.secondDevices.empty();
    const LabDevice& saved = benches ? lab.secondDevices.front() : lab.devices.front();
    const char* log = benches ? "second.log" : "devices.log";

    SearchAndSettle();
    ASSERT_NE(RowOf(saved.macText), -1);
    f.ClickDeviceListRow(RowOf(saved.macText));
    f.dialog().m_ctlGateway.SetAddress(kNewGateway);

    // A second confirmation would be a box nobody expected, and fail the test.
    boxes.Expect("Save Complete!");
    f.Click(IDC_SAVE);
    ASSERT_TRUE(WaitUntil([&] { return boxes.Pending() == 0; }));
    WaitUntil([] { return false; }, kSettleMs);

    EXPECT_EQ(SavesLogged(log, saved.macText), 1);
    std::vector<std::string> listed = f.DeviceList();
    EXPECT_EQ(std::count(listed.begin(), listed.end(), saved.macText), 1);
    EXPECT_EQ(listed.back(), saved.macText);

    SearchAndSettle();
    f.ClickDeviceListRow(RowOf(saved.macText));
    EXPECT_EQ(Shown(f.dialog().m_ctlGateway), kNewGateway);
}
