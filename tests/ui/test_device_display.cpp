// A search reply shown in the Information group, field by field, and datagrams that must
// change nothing at all.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "DialogFixture.h"
#include "UdpPeer.h"
#include "ui/CUdpAsySk.h"
#include "link/Datagram.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/MessageBoxRecorder.h"

namespace {

constexpr DWORD kIp = 0xC0A8000A;       // 192.168.0.10
constexpr DWORD kMask = 0xFFFFFF00;
constexpr DWORD kGateway = 0xC0A80001;

std::string Reply(const std::string& mac12, bool dhcp = false, std::uint16_t port = 9100,
                  const std::string& version = "3.07", DWORD ip = kIp)
{
    return BuildSearchReply(mac12, ip, kMask, kGateway, port, dhcp, version, 7);
}

// Writes text over the reply at offset and seals it again.
std::string Patched(std::string reply, std::size_t offset, const std::string& text)
{
    reply.replace(offset, text.size(), text);
    return SealReply(reply);
}

DWORD ShownAddress(CIPAddressCtrl& box)
{
    DWORD address = 0;
    box.GetAddress(address);
    return address;
}

// A dialog that has searched through its endpoint; the peer plays the devices.
struct Searched {
    UdpPeer peer;
    DialogFixture f{LoopbackNetwork(peer.port())};
    MessageBoxRecorder boxes;

    Searched()
    {
        f.Click(IDC_SEARCH);
        EXPECT_TRUE(peer.Receive()) << "no search request";
    }
    void Answer(const std::string& datagram)
    {
        peer.Send(datagram, static_cast<std::uint16_t>(f.dialog().Network().localUdpPort));
    }
    bool DhcpChecked() { return driver::CheckState(f.control(IDC_USE_DHCP)) == BST_CHECKED; }
};

constexpr int kAddressControls[] = {IDC_IP_LABEL, IDC_IP, IDC_MASK_LABEL, IDC_MASK, IDC_GATEWAY_LABEL, IDC_GATEWAY};

}  // namespace

TEST(DeviceDisplay, DhcpOnLocksTheAddressBoxesAndOffUnlocksThem)
{
    Searched s;

    s.Answer(Reply("001A2B3C4D01", true));
    ASSERT_TRUE(s.f.WaitForDevices(1));
    EXPECT_TRUE(s.DhcpChecked());
    EXPECT_EQ(s.f.dialog().m_nUseDhcp, 1);
    for (const int id : kAddressControls)
        EXPECT_FALSE(s.f.IsEnabled(id)) << id;
    EXPECT_EQ(ShownAddress(s.f.dialog().m_ctlIp), kIp) << "the locked boxes still show the addresses";

    s.Answer(Reply("001A2B3C4D02", false));
    ASSERT_TRUE(s.f.WaitForDevices(2));
    EXPECT_FALSE(s.DhcpChecked());
    EXPECT_EQ(s.f.dialog().m_nUseDhcp, 0);
    for (const int id : kAddressControls)
        EXPECT_TRUE(s.f.IsEnabled(id)) << id;
    EXPECT_FALSE(s.f.IsEnabled(IDC_USE_DHCP)) << "the DHCP box only displays";
}

namespace {

struct FieldCase {
    const char* name;
    std::size_t offset;
    const char* text;
    DWORD ip;
    const char* port;
    const char* version;  // after a first reply that showed " 1.23"
};

const FieldCase kFieldCases[] = {
    {"port_8C23_is_9100", 46, "8C23", kIp, "9100", " 3.07"},
    {"port_238C_is_35875", 46, "238C", kIp, "35875", " 3.07"},
    {"port_out_of_range_shown", 46, "1700", kIp, "23", " 3.07"},
    {"lower_case_address", 22, "c0a80001", 0xC0A80001, "9100", " 3.07"},
    {"invalid_hex_digit_counts_zero", 22, "0AZZ0001", 0x0A000001, "9100", " 3.07"},
    {"version_skips_position_62", 60, " 2x070", kIp, "9100", " 2.07"},
    {"version_without_leading_space_kept", 60, "3.07 0", kIp, "9100", " 1.23"},
    {"version_not_ending_in_zero_kept", 60, " 2.071", kIp, "9100", " 1.23"},
};

class Fields : public testing::TestWithParam<FieldCase> {};

}  // namespace

TEST_P(Fields, AreShownAsTheDeviceSentThem)
{
    const FieldCase& c = GetParam();
    Searched s;
    s.Answer(Reply("001A2B3C4D01", false, 9100, "1.23"));
    ASSERT_TRUE(s.f.WaitForDevices(1));
    ASSERT_EQ(s.f.Text(IDC_VERSION), " 1.23");

    s.Answer(Patched(Reply("001A2B3C4D02"), c.offset, c.text));
    ASSERT_TRUE(s.f.WaitForDevices(2));

    EXPECT_EQ(ShownAddress(s.f.dialog().m_ctlIp), c.ip);
    EXPECT_EQ(s.f.Text(IDC_PORT), c.port);
    EXPECT_EQ(s.f.Text(IDC_VERSION), c.version);
}

INSTANTIATE_TEST_SUITE_P(Cases, Fields, testing::ValuesIn(kFieldCases),
                         [](const testing::TestParamInfo<FieldCase>& info) { return std::string(info.param.name); });

TEST(DeviceDisplay, SelectingAnEntryShowsItsRecordAgain)
{
    Searched s;
    s.Answer(Reply("001A2B3C4D01", true, 0x1234, "1.01", 0x0A000001));
    s.Answer(Reply("001A2B3C4D02", false, 9100, "2.02", 0x0A000002));
    ASSERT_TRUE(s.f.WaitForDevices(2));

    s.f.ClickDeviceListRow(0);

    EXPECT_EQ(s.f.dialog().m_ctlDeviceList.GetCurSel(), 0);
    EXPECT_EQ(s.f.dialog().m_strCurrentRecord, s.f.RecordList()[0]);
    EXPECT_EQ(ShownAddress(s.f.dialog().m_ctlIp), 0x0A000001u);
    EXPECT_EQ(s.f.Text(IDC_PORT), "4660");
    EXPECT_EQ(s.f.Text(IDC_VERSION), " 1.01");
    EXPECT_TRUE(s.DhcpChecked());
    EXPECT_FALSE(s.f.IsEnabled(IDC_IP));
}

TEST(DeviceDisplay, AReplyWhileAnEntryIsSelectedIsShownAndTheSelectionStays)
{
    Searched s;
    s.Answer(Reply("001A2B3C4D01", false, 9100, "3.07", 0x0A000001));
    s.Answer(Reply("001A2B3C4D02", false, 9100, "3.07", 0x0A000002));
    ASSERT_TRUE(s.f.WaitForDevices(2));
    s.f.ClickDeviceListRow(0);

    const std::string late = Reply("001A2B3C4D03", false, 9100, "3.07", 0x0A000003);
    s.Answer(late);
    ASSERT_TRUE(s.f.WaitForDevices(3));

    EXPECT_EQ(s.f.dialog().m_ctlDeviceList.GetCurSel(), 0);
    EXPECT_EQ(s.f.dialog().m_strCurrentRecord, late);
    EXPECT_EQ(ShownAddress(s.f.dialog().m_ctlIp), 0x0A000003u);

    // Save now names the selected device and carries the address the boxes show.
    s.f.Click(IDC_SAVE);
    const auto request = s.peer.Receive();
    ASSERT_TRUE(request);
    const auto fields = ReadSaveRequest(request->data.data(), request->data.size());
    ASSERT_TRUE(fields);
    EXPECT_EQ(fields->mac12, "001A2B3C4D01");
    EXPECT_EQ(fields->ip, 0x0A000003u);
}

TEST(DeviceDisplay, SelectingWithAnOutOfRangePortShowsTheRangeMessageThenTheDevice)
{
    Searched s;
    s.Answer(Reply("001A2B3C4D01", false, 9200));
    ASSERT_TRUE(s.f.WaitForDevices(1));
    CWnd::FromHandle(s.f.control(IDC_PORT))->SetWindowText("80");

    s.boxes.Expect("1024와(과) 50000 사이의 정수를 입력하십시오.");
    s.f.ClickDeviceListRow(0);

    EXPECT_EQ(s.f.Text(IDC_PORT), "9200");
    EXPECT_EQ(s.f.dialog().m_nPort, 9200u);
}

TEST(DeviceDisplay, RecordsKeepEveryByteTheDeviceSent)
{
    Searched s;
    // Bytes the program never reads may be anything but zero, high bytes included.
    std::string reply = Reply("001A2B3C4D01", false, 9100, "4.56");
    const std::string odd = "\xC3\xFF\x80\x7F\xE2\x82";
    reply.replace(52, odd.size(), odd);
    reply.replace(90, odd.size(), odd);
    reply = SealReply(reply) + "tail beyond 128\xF0";
    s.Answer(reply);
    ASSERT_TRUE(s.f.WaitForDevices(1));

    ASSERT_EQ(s.f.RecordList().size(), 1u);
    EXPECT_EQ(s.f.RecordList()[0], reply);

    s.f.ClickDeviceListRow(0);
    EXPECT_EQ(s.f.dialog().m_strCurrentRecord, reply);
    EXPECT_EQ(s.f.Text(IDC_VERSION), " 4.56");
    EXPECT_EQ(s.f.Text(IDC_PORT), "9100");
}

TEST(DeviceDisplay, ALongReplyIsKeptUpToItsFirstZeroByte)
{
    Searched s;
    const std::string head = Reply("001A2B3C4D01");
    s.Answer(head + "EXTRA" + std::string(1, '\0') + "HIDDEN");
    ASSERT_TRUE(s.f.WaitForDevices(1));

    EXPECT_EQ(s.f.RecordList(), std::vector<std::string>{head + "EXTRA"});
    EXPECT_EQ(s.f.DeviceList(), std::vector<std::string>{"00:1A:2B:3C:4D:01"});
}

namespace {

struct DroppedCase {
    const char* name;
    std::string datagram;
};

std::string WithZeroAt(std::size_t position)
{
    std::string reply = Reply("001A2B3C4D09");
    reply[position] = '\0';
    return SealReply(reply);
}

std::string LowerCaseChecksum()
{
    // A seed whose checksum has a letter in it, so that lower case differs from upper case.
    for (std::uint32_t seed = 1; seed < 1000; ++seed) {
        std::string reply = BuildSearchReply("001A2B3C4D09", kIp, kMask, kGateway, 9100, false, "3.07", seed);
        const std::string sealed = reply;
        for (std::size_t i = 0; i < 8; ++i)
            reply[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(reply[i])));
        if (reply != sealed)
            return reply;
    }
    ADD_FAILURE() << "no checksum with a letter";
    return {};
}

std::vector<DroppedCase> DroppedCases()
{
    std::string wrongChecksum = Reply("001A2B3C4D09");
    wrongChecksum[0] = wrongChecksum[0] == '0' ? '1' : '0';
    const std::string full = Reply("001A2B3C4D09");
    return {
        {"wrong checksum", wrongChecksum},
        {"lower-case checksum", LowerCaseChecksum()},
        {"command 22", Patched(full, 8, "22")},
        {"own search request", BuildSearchRequest({}, 5)},
        {"save request", BuildSaveRequest("00:1A:2B:3C:4D:09", kIp, kMask, kGateway, 9100, 0, 5)},
        {"100 bytes", full.substr(0, 100)},
        {"127 bytes", full.substr(0, 127)},
        {"zero byte inside the fields", WithZeroAt(20)},
        {"zero byte after the fields", WithZeroAt(100)},
        {"zero byte at 127", WithZeroAt(127)},
        {"save reply before any save", BuildSaveReply(3)},
    };
}

}  // namespace

TEST(DeviceDisplay, BadDatagramsChangeNothing)
{
    Searched s;
    for (const DroppedCase& c : DroppedCases())
        s.Answer(c.datagram);
    // Loopback keeps the order: once this one is listed, all the others have been handled.
    const std::string marker = Reply("001A2B3C4D0A");
    s.Answer(marker);
    ASSERT_TRUE(s.f.WaitForDevices(1));

    EXPECT_EQ(s.f.RecordList(), std::vector<std::string>{marker});
    EXPECT_EQ(s.f.DeviceList(), std::vector<std::string>{"00:1A:2B:3C:4D:0A"});
    ASSERT_NE(s.f.dialog().m_pUdpEndpoint, nullptr);
    EXPECT_NE(s.f.dialog().m_pUdpEndpoint->m_hSocket, INVALID_SOCKET);
}
