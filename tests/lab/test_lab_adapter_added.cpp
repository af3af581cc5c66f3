// A PC whose second adapter is down at the first Search and up at the next: the down adapter
// is passed over without a message, and the one brought up is searched at once.
#include <QProcess>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "LabTest.h"
#include "platform/sockets/SocketCalls.h"
#include "tests/support/Wait.h"

namespace {

class LabAdapterAdded : public LabTest {
protected:
    void SetUp() override
    {
        LabTest::SetUp();
        ASSERT_EQ(lab.downAdapters.size(), 1u) << "run in a lab with --second N --second-down";
        ASSERT_FALSE(lab.secondDevices.empty());
    }
};

bool IsBroadcastAdapter(const std::string& name)
{
    const auto adapters = lanvista::sockets::BroadcastAdapters();
    return std::any_of(adapters.begin(), adapters.end(),
                       [&](const NetworkAdapter& adapter) { return adapter.name == name; });
}

}  // namespace

TEST_F(LabAdapterAdded, IsSearchedByTheNextSearch)
{
    const std::string& added = lab.downAdapters.front().name;
    const int firstSegment = static_cast<int>(lab.devices.size()) + 1;
    ASSERT_FALSE(IsBroadcastAdapter(added)) << added << " is down and no broadcast adapter";

    f.Click(IDC_SEARCH);
    ASSERT_TRUE(f.WaitForDevices(firstSegment));
    EXPECT_FALSE(f.WaitForDevices(firstSegment + 1, 300))
        << "a device behind the down adapter answered: " << testing::PrintToString(f.DeviceList());

    ASSERT_EQ(QProcess::execute("ip", {"link", "set", "dev", QString::fromStdString(added), "up"}), 0);
    ASSERT_TRUE(WaitUntil([&] { return IsBroadcastAdapter(added); }, 10000)) << added << " did not come up";

    SearchAll();
    std::vector<std::string> listed = f.DeviceList();
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, lab.AllMacTexts());
}
