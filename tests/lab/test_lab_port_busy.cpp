// Another program holding UDP port 27700 on the PC: Search cannot open its endpoint.
#include <gtest/gtest.h>

#include "LabTest.h"
#include "tests/devsim/DevsimProcess.h"

namespace {

using LabPortBusy = LabTest;

}  // namespace

TEST_F(LabPortBusy, SearchReportsAddressInUseAndSaveHasNoSocket)
{
    DevsimProcess holder({"--udp-port", "27700", "--no-tcp", "--devices", "1"});
    ASSERT_TRUE(holder.isReady()) << holder.errorText().toStdString();

    boxes.Expect("Fail to create UDP socket: 10048! Close and restart app.");
    f.Click(IDC_SEARCH);
    EXPECT_EQ(boxes.Pending(), 0u);
    EXPECT_EQ(f.dialog().m_pUdpEndpoint, nullptr);

    boxes.Expect("Please create socket first.");
    f.Click(IDC_SAVE);
    EXPECT_EQ(boxes.Pending(), 0u);
}
