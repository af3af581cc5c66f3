// A send that fails on some adapters of a PC with several: the request still reaches the
// devices behind the others without a message; only a send that went out through no adapter
// is reported, and one that would block everywhere stays queued silently.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "LabTest.h"
#include "platform/sockets/SocketCalls.h"
#include "tests/support/InjectedSocketFault.h"
#include "ui/CUdpAsySk.h"

using lanvista::sockets::SocketCall;

namespace {

enum class Failing { First, Every };

struct FaultCase {
    const char* name;
    int error;
    Failing failing;
    const char* box;  // nullptr: no message
    bool pending;     // the request stays in the endpoint's send fields
};

const FaultCase kFaultCases[] = {
    {"OneAdapterFails", ENETUNREACH, Failing::First, nullptr, false},
    {"EveryAdapterFails", ENETUNREACH, Failing::Every, "Sever Socket failed to send: 10051", true},
    {"EveryAdapterWouldBlock", EWOULDBLOCK, Failing::Every, nullptr, true},
};

class LabAdapterFaults : public LabTest, public testing::WithParamInterface<FaultCase> {
protected:
    void SetUp() override
    {
        LabTest::SetUp();
        ASSERT_GE(lab.adapters.size(), 3u) << "run in a lab with --wan --second N";
    }

    // The devices behind an adapter of the lab.
    std::vector<std::string> BehindAdapter(const std::string& adapter) const
    {
        std::vector<std::string> macs;
        if (adapter == "lvpc") {
            for (const LabDevice& device : lab.devices)
                macs.push_back(device.macText);
            macs.push_back(lab.nakDevice.macText);
        } else if (adapter == "lvpc2") {
            for (const LabDevice& device : lab.secondDevices)
                macs.push_back(device.macText);
        }
        return macs;
    }
};

}  // namespace

TEST_P(LabAdapterFaults, AreReportedOnlyWhenTheRequestWentOutNowhere)
{
    const FaultCase& c = GetParam();
    const auto adapters = lanvista::sockets::BroadcastAdapters();
    ASSERT_EQ(adapters.size(), lab.adapters.size());
    const int failures = c.failing == Failing::First ? 1 : static_cast<int>(adapters.size());
    std::vector<std::string> expected;
    for (std::size_t i = static_cast<std::size_t>(failures); i < adapters.size(); ++i) {
        const std::vector<std::string> behind = BehindAdapter(adapters[i].name);
        expected.insert(expected.end(), behind.begin(), behind.end());
    }
    std::sort(expected.begin(), expected.end());

    if (c.box)
        boxes.Expect(c.box);
    {
        InjectedSocketFault fault({SocketCall::SendTo, c.error, 0, failures});
        f.Click(IDC_SEARCH);
    }
    EXPECT_EQ(boxes.Pending(), 0u);
    CUdpAsySk* const endpoint = f.dialog().m_pUdpEndpoint;
    ASSERT_NE(endpoint, nullptr);
    EXPECT_EQ(endpoint->m_hSocket == INVALID_SOCKET, c.box != nullptr);
    EXPECT_EQ(endpoint->m_nSendLength != 0, c.pending);

    if (!expected.empty()) {
        ASSERT_TRUE(f.WaitForDevices(static_cast<int>(expected.size())));
    }
    // Devices behind a failed adapter would answer in the same burst.
    EXPECT_FALSE(f.WaitForDevices(static_cast<int>(expected.size()) + 1, 300));
    std::vector<std::string> listed = f.DeviceList();
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, LabAdapterFaults, testing::ValuesIn(kFaultCases),
                         [](const testing::TestParamInfo<FaultCase>& info) { return std::string(info.param.name); });
