// Save: the request that reaches the device, and what a save reply does to the lists.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "DialogFixture.h"
#include "UdpPeer.h"
#include "ui/CUdpAsySk.h"
#include "link/Datagram.h"
#include "tests/support/DevsimSession.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/Wait.h"

namespace {

constexpr DWORD kIp = 0xC0A8000A;  // 192.168.0.10
constexpr DWORD kMask = 0xFFFFFF00;
constexpr DWORD kGateway = 0xC0A80001;

std::string Reply(const std::string& mac12, std::uint16_t port = 9100, bool dhcp = false)
{
    return BuildSearchReply(mac12, kIp, kMask, kGateway, port, dhcp, "3.07", 11);
}

DWORD ShownAddress(CIPAddressCtrl& box)
{
    DWORD address = 0;
    box.GetAddress(address);
    return address;
}

std::optional<SaveRequestFields> ReadSave(const UdpPeer::Datagram& datagram)
{
    return ReadSaveRequest(datagram.data.data(), datagram.data.size());
}

// A dialog that has searched; the peer plays the devices and has answered with replies.
struct Listed {
    UdpPeer peer;
    DialogFixture f{LoopbackNetwork(peer.port())};
    MessageBoxRecorder boxes;

    explicit Listed(const std::vector<std::string>& replies)
    {
        f.Click(IDC_SEARCH);
        EXPECT_TRUE(peer.Receive()) << "no search request";
        for (const std::string& reply : replies)
            Answer(reply);
        EXPECT_TRUE(f.WaitForDevices(static_cast<int>(replies.size())));
    }
    void Answer(const std::string& datagram)
    {
        peer.Send(datagram, static_cast<std::uint16_t>(f.dialog().Network().localUdpPort));
    }
    // Presses Save and reads the request the device receives: nothing when none arrives or
    // it is not a 128-byte save request.
    std::optional<SaveRequestFields> SaveAndReceive()
    {
        f.Click(IDC_SAVE);
        const auto request = peer.Receive();
        if (!request || request->data.size() != kDatagramSize)
            return std::nullopt;
        return ReadSave(*request);
    }
    void SetAddresses(DWORD ip, DWORD mask, DWORD gateway)
    {
        f.dialog().m_ctlIp.SetAddress(ip);
        f.dialog().m_ctlMask.SetAddress(mask);
        f.dialog().m_ctlGateway.SetAddress(gateway);
    }
};

}  // namespace

TEST(Save, BeforeAnySearchAsksForASocket)
{
    DialogFixture f;
    MessageBoxRecorder boxes;
    boxes.Expect("Please create socket first.");
    f.Click(IDC_SAVE);
    EXPECT_TRUE(f.dialog().m_strEditedRecord.empty());
}

TEST(Save, TheOnlyDeviceListedIsSelectedAndSaved)
{
    Listed l({Reply("001A2B3C4D01")});
    ASSERT_EQ(l.f.dialog().m_ctlDeviceList.GetCurSel(), LB_ERR);

    l.f.Click(IDC_SAVE);

    EXPECT_EQ(l.f.dialog().m_ctlDeviceList.GetCurSel(), 0);
    const auto request = l.peer.Receive();
    ASSERT_TRUE(request);
    const auto fields = ReadSave(*request);
    ASSERT_TRUE(fields) << "not a valid save request";
    EXPECT_EQ(fields->mac12, "001A2B3C4D01");
}

TEST(Save, WithSeveralListedAndNoneSelectedNothingIsSent)
{
    Listed l({Reply("001A2B3C4D01"), Reply("001A2B3C4D02")});

    l.f.Click(IDC_SAVE);
    EXPECT_TRUE(l.f.dialog().m_strEditedRecord.empty());

    l.f.ClickDeviceListRow(1);
    l.f.Click(IDC_SAVE);
    const auto request = l.peer.Receive();
    ASSERT_TRUE(request);
    const auto fields = ReadSave(*request);
    ASSERT_TRUE(fields);
    EXPECT_EQ(fields->mac12, "001A2B3C4D02") << "the first Save sent something";
}

TEST(Save, TheRequestCarriesTheBoxesAndTheDialogsPortAndDhcp)
{
    Listed l({Reply("001A2B3C4D01"), Reply("0A0B0C0D0E0F", 0x1234, true)});
    l.f.ClickDeviceListRow(1);
    l.SetAddresses(0x0A000032, 0xFF000000, 0x0A000001);

    l.f.Click(IDC_SAVE);

    const auto request = l.peer.Receive();
    ASSERT_TRUE(request);
    ASSERT_EQ(request->data.size(), kDatagramSize);
    const std::string raw = request->data;
    EXPECT_EQ(raw.substr(8, 2), "10");
    EXPECT_EQ(raw.substr(22, 29), "0A000032FF0000000A0000011234" "1");
    const auto fields = ReadSave(*request);
    ASSERT_TRUE(fields) << "checksum or command wrong";
    EXPECT_EQ(fields->mac12, "0A0B0C0D0E0F");

    // The edited record: new addresses, the device's own port and DHCP flag.
    std::string expected = l.f.RecordList()[1];
    expected.replace(22, 24, "0A000032FF0000000A000001");
    EXPECT_EQ(l.f.dialog().m_strEditedRecord, expected);
    EXPECT_TRUE(l.f.dialog().m_strOutgoing.empty());
}

TEST(Save, ATypedPortIsNotSentUntilAnExchangeReadsIt)
{
    Listed l({Reply("001A2B3C4D01", 9100)});
    CWnd::FromHandle(l.f.control(IDC_PORT))->SetWindowText("1234");

    l.f.Click(IDC_SAVE);

    const auto request = l.peer.Receive();
    ASSERT_TRUE(request);
    EXPECT_EQ(request->data.substr(46, 4), "238C");
    EXPECT_EQ(l.f.Text(IDC_PORT), "9100");
}

TEST(Save, APortThatDoesNotFitTheFieldSendsTheDevicesOwnPort)
{
    Listed l({Reply("001A2B3C4D01", 0x1234)});
    CWnd::FromHandle(l.f.control(IDC_PORT))->SetWindowText("70000");
    // A change in a MAC box reads the port box: the number is kept although it is refused.
    l.boxes.Expect("1024와(과) 50000 사이의 정수를 입력하십시오.");
    driver::Type(l.f.control(IDC_MAC1), "0");
    ASSERT_EQ(l.f.dialog().m_nPort, 70000u);

    const auto fields = l.SaveAndReceive();
    ASSERT_TRUE(fields) << "no 128-byte save request";
    EXPECT_EQ(fields->port, 0x1234);
    EXPECT_EQ(fields->ip, kIp);
    EXPECT_EQ(fields->gateway, kGateway);
    EXPECT_FALSE(fields->dhcp);
}

TEST(Save, ASaveReplyMovesTheEditedDeviceToTheEndSelected)
{
    Listed l({Reply("001A2B3C4D01"), Reply("001A2B3C4D02"), Reply("001A2B3C4D03")});
    l.f.ClickDeviceListRow(0);
    l.SetAddresses(0x0A000032, 0xFF000000, 0x0A000001);
    l.f.Click(IDC_SAVE);
    ASSERT_TRUE(l.peer.Receive());
    const std::string edited = l.f.dialog().m_strEditedRecord;

    l.boxes.Expect("Save Complete!");
    l.boxes.Expect("Save Complete!");
    l.Answer(BuildSaveReply(1));
    l.Answer(BuildSaveReply(2));
    ASSERT_TRUE(WaitUntil([&] { return l.boxes.Pending() == 0; }, 10000));

    const std::vector<std::string> devices{"00:1A:2B:3C:4D:02", "00:1A:2B:3C:4D:03", "00:1A:2B:3C:4D:01"};
    EXPECT_EQ(l.f.DeviceList(), devices);
    const std::vector<std::string> records = l.f.RecordList();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[2], edited);
    EXPECT_EQ(MacTextOf(records[0]), devices[0]);
    EXPECT_EQ(MacTextOf(records[1]), devices[1]);
    EXPECT_EQ(l.f.dialog().m_ctlDeviceList.GetCurSel(), 2);
    EXPECT_EQ(ShownAddress(l.f.dialog().m_ctlIp), 0x0A000032u);
    EXPECT_EQ(l.f.Text(IDC_PORT), "9100");
}

namespace {

struct OtherSelectionCase {
    const char* name;
    int repliesBeforeTheClick;  // save replies handled while the saved device is selected
    int repliesAfterTheClick;   // then the user selects another device and these arrive
};

const OtherSelectionCase kOtherSelectionCases[] = {
    {"AReplyWhileAnotherDeviceIsSelected", 0, 1},
    {"ALateReplyAfterTheUserSelectedAnotherDevice", 1, 1},
};

class SaveReplyWithOtherSelection : public testing::TestWithParam<OtherSelectionCase> {};

}  // namespace

// A save reply names no device: it replaces the saved device's pair, never the selected one.
TEST_P(SaveReplyWithOtherSelection, ReplacesOnlyTheSavedDevice)
{
    const OtherSelectionCase& c = GetParam();
    Listed l({Reply("001A2B3C4D01"), Reply("001A2B3C4D02"), Reply("001A2B3C4D03")});
    const std::vector<std::string> searched = l.f.RecordList();
    l.f.ClickDeviceListRow(0);
    l.SetAddresses(0x0A000032, 0xFF000000, 0x0A000001);
    l.f.Click(IDC_SAVE);
    ASSERT_TRUE(l.peer.Receive());
    const std::string edited = l.f.dialog().m_strEditedRecord;
    const auto answer = [&l](int count) {
        for (int i = 0; i < count; ++i) {
            l.boxes.Expect("Save Complete!");
            l.Answer(BuildSaveReply(static_cast<std::uint32_t>(i + 1)));
            ASSERT_TRUE(WaitUntil([&] { return l.boxes.Pending() == 0; }, 10000));
        }
    };

    answer(c.repliesBeforeTheClick);
    const int other = c.repliesBeforeTheClick == 0 ? 1 : 0;  // device 02 either way
    l.f.ClickDeviceListRow(other);
    ASSERT_EQ(l.f.DeviceList()[static_cast<std::size_t>(other)], "00:1A:2B:3C:4D:02");
    answer(c.repliesAfterTheClick);

    EXPECT_EQ(l.f.DeviceList(), (std::vector<std::string>{"00:1A:2B:3C:4D:02", "00:1A:2B:3C:4D:03",
                                                           "00:1A:2B:3C:4D:01"}));
    EXPECT_EQ(l.f.RecordList(), (std::vector<std::string>{searched[1], searched[2], edited}));
    EXPECT_EQ(l.f.dialog().m_ctlDeviceList.GetCurSel(), 2);
    EXPECT_EQ(l.f.dialog().m_strCurrentRecord, edited);
    EXPECT_EQ(ShownAddress(l.f.dialog().m_ctlIp), 0x0A000032u);
}

INSTANTIATE_TEST_SUITE_P(Cases, SaveReplyWithOtherSelection, testing::ValuesIn(kOtherSelectionCases),
                         [](const testing::TestParamInfo<OtherSelectionCase>& info) { return info.param.name; });

// The MAC field goes back byte for byte as the device sent it, bytes beyond ASCII included:
// the device list keeps the record's bytes, not a text decoded from them.
TEST(Save, TheMacFieldGoesBackAsTheDeviceSentIt)
{
    const std::string mac12 = "00\xE9\xC3\xA9?\x80\xFF" "4D01";
    Listed l({Reply(mac12)});

    const auto fields = l.SaveAndReceive();
    ASSERT_TRUE(fields) << "no 128-byte save request";
    EXPECT_EQ(fields->mac12, mac12);
    EXPECT_EQ(fields->ip, kIp);
}

TEST(Save, AReplyAfterANewSearchMakesTheEditedDeviceTheOnlyEntry)
{
    Listed l({Reply("001A2B3C4D01"), Reply("001A2B3C4D02")});
    l.f.ClickDeviceListRow(1);
    l.f.Click(IDC_SAVE);
    ASSERT_TRUE(l.peer.Receive());
    const std::string edited = l.f.dialog().m_strEditedRecord;
    l.f.Click(IDC_SEARCH);
    ASSERT_TRUE(l.peer.Receive());
    ASSERT_TRUE(l.f.DeviceList().empty());

    l.boxes.Expect("Save Complete!");
    l.Answer(BuildSaveReply(1));
    ASSERT_TRUE(WaitUntil([&] { return l.boxes.Pending() == 0; }, 10000));

    EXPECT_EQ(l.f.DeviceList(), std::vector<std::string>{"00:1A:2B:3C:4D:02"});
    EXPECT_EQ(l.f.RecordList(), std::vector<std::string>{edited});
    EXPECT_EQ(l.f.dialog().m_ctlDeviceList.GetCurSel(), 0);
}

TEST(SaveDevsim, TheDevicesNewSettingsShowInAFreshSearch)
{
    DevsimSession devsim({"--devices", "3"});
    ASSERT_TRUE(devsim.isReady()) << devsim.errorText();
    DialogFixture f(LoopbackNetwork(devsim.udpPort()));
    MessageBoxRecorder boxes;
    f.Click(IDC_SEARCH);
    ASSERT_TRUE(f.WaitForDevices(3));
    f.ClickDeviceListRow(1);
    f.dialog().m_ctlIp.SetAddress(0x0A000032);
    f.dialog().m_ctlMask.SetAddress(0xFF000000);
    f.dialog().m_ctlGateway.SetAddress(0x0A000001);

    boxes.Expect("Save Complete!");
    f.Click(IDC_SAVE);
    ASSERT_TRUE(WaitUntil([&] { return boxes.Pending() == 0; }, 10000));
    EXPECT_EQ(f.DeviceList().back(), "00:1A:2B:3C:4D:02");
    EXPECT_EQ(f.dialog().m_ctlDeviceList.GetCurSel(), 2);

    f.Click(IDC_SEARCH);
    ASSERT_TRUE(f.WaitForDevices(3));
    const std::vector<std::string> devices = f.DeviceList();
    const auto saved = std::find(devices.begin(), devices.end(), "00:1A:2B:3C:4D:02");
    ASSERT_NE(saved, devices.end());
    f.ClickDeviceListRow(static_cast<int>(saved - devices.begin()));
    EXPECT_EQ(ShownAddress(f.dialog().m_ctlIp), 0x0A000032u);
    EXPECT_EQ(ShownAddress(f.dialog().m_ctlMask), 0xFF000000u);
    EXPECT_EQ(ShownAddress(f.dialog().m_ctlGateway), 0x0A000001u);
    EXPECT_EQ(f.Text(IDC_PORT), "9100");
}
