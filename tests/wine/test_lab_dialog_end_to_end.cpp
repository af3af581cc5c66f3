// The dialog itself under Wine in the lab's PC namespace, driven through the layer as a user
// drives it, against lanvista-devsim's devices on the other side of the link: Search across
// the limited broadcast, Save of a new address, Browse and Start Update with each verdict,
// and the About box from the system menu.
#include "platform/toolkit/CMenu.h"
#include "platform/toolkit/CWinApp.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/FileDialogRecorder.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/Wait.h"
#include "ui/CConfigDlg.h"
#include "ui/Resource.h"
#include "ui/Resources.h"

#include "LabVariables.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

using labvars::Env;
using labvars::MacPlus;

constexpr int kEndedByTest = 99;

// "a.b.c.d" as an address held first octet first.
DWORD Address(const std::string& dotted)
{
    unsigned a[4] = {};
    std::sscanf(dotted.c_str(), "%u.%u.%u.%u", &a[0], &a[1], &a[2], &a[3]);
    return (a[0] << 24) | (a[1] << 16) | (a[2] << 8) | a[3];
}

std::string Dotted(DWORD address)
{
    char text[16];
    std::snprintf(text, sizeof text, "%lu.%lu.%lu.%lu", (address >> 24) & 0xFF, (address >> 16) & 0xFF,
                  (address >> 8) & 0xFF, address & 0xFF);
    return text;
}

struct Device {
    std::string mac;
    DWORD ip;
};

class DialogInLab : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (Env("LANVISTA_LAB_ADAPTERS").empty())
            GTEST_SKIP() << "runs inside lab/lab.sh, through lab/wine-in-lab.sh, only";
        const unsigned count = static_cast<unsigned>(std::atoi(Env("LANVISTA_LAB_DEVICES").c_str()));
        ASSERT_GE(count, 2u) << "the lab plays too few devices";
        const DWORD first = Address(Env("LANVISTA_LAB_FIRST_IP"));
        for (unsigned n = 0; n < count; ++n)
            devices.push_back({MacPlus(Env("LANVISTA_LAB_FIRST_MAC"), n), first + n});
        nak = {MacPlus(Env("LANVISTA_LAB_NAK_MAC"), 0), Address(Env("LANVISTA_LAB_NAK_IP"))};
    }

    // Runs the dialog with the program's built-in network settings; steps run inside its
    // loop, then it ends unless they ended it.
    void Run(const std::function<void()>& steps)
    {
        static CWinApp app;
        RegisterResources();
        const INT_PTR result = driver::RunModal(dialog, steps, kEndedByTest);
        EXPECT_TRUE(result == kEndedByTest || result == IDOK) << "the dialog's run ended with " << result;
    }

    std::vector<std::string> Listed(const CListBox& list) const
    {
        std::vector<std::string> rows(static_cast<std::size_t>(list.GetCount()));
        for (std::size_t i = 0; i < rows.size(); ++i)
            list.GetText(static_cast<int>(i), rows[i]);
        return rows;
    }

    // Presses Search and waits until every device of the lab is listed, and a moment more for
    // any reply that would list one twice. The lists empty when the click is taken, before
    // any reply to its request can come.
    void SearchAll()
    {
        const int expected = static_cast<int>(devices.size()) + 1;
        driver::Click(driver::Control(dialog, IDC_SEARCH));
        ASSERT_TRUE(WaitUntil([&] { return dialog.m_ctlDeviceList.GetCount() == 0; })) << "the lists did not empty";
        ASSERT_TRUE(WaitUntil([&] { return dialog.m_ctlDeviceList.GetCount() >= expected; }, 10000))
            << "listed: " << testing::PrintToString(Listed(dialog.m_ctlDeviceList));
        WaitUntil([] { return false; }, 500);
    }

    // Clicks the device's row and waits until the boxes show what it holds.
    void Select(const Device& device, DWORD shownIp)
    {
        const std::vector<std::string> rows = Listed(dialog.m_ctlDeviceList);
        const auto row = std::find(rows.begin(), rows.end(), device.mac);
        ASSERT_NE(row, rows.end()) << device.mac << " is not listed";
        driver::ClickListEntry(driver::Control(dialog, IDC_DEVICE_LIST), static_cast<int>(row - rows.begin()));
        EXPECT_TRUE(WaitUntil([&] { return Shown(dialog.m_ctlIp) == shownIp; }))
            << device.mac << " shows " << Dotted(Shown(dialog.m_ctlIp)) << ", not " << Dotted(shownIp);
    }

    static DWORD Shown(CIPAddressCtrl& box)
    {
        DWORD address = 0;
        box.GetAddress(address);
        return address;
    }

    std::vector<Device> devices;  // the main simulator's, in MAC order
    Device nak;                   // answers every download with a NAK
    MessageBoxRecorder boxes;
    CConfigDlg dialog;
};

TEST_F(DialogInLab, SearchListsEveryDeviceOnceWithItsRecord)
{
    Run([&] {
        EXPECT_EQ(dialog.Network().udpDestination, "255.255.255.255") << "the built-in limited broadcast";
        SearchAll();
        std::vector<std::string> expected;
        for (const Device& device : devices)
            expected.push_back(device.mac);
        expected.push_back(nak.mac);
        std::sort(expected.begin(), expected.end());
        std::vector<std::string> listed = Listed(dialog.m_ctlDeviceList);
        std::sort(listed.begin(), listed.end());
        EXPECT_EQ(listed, expected);
        EXPECT_EQ(dialog.m_ctlRecordList.GetCount(), dialog.m_ctlDeviceList.GetCount())
            << "one record per listed device";

        Select(devices.back(), devices.back().ip);
        Select(nak, nak.ip);
    });
}

TEST_F(DialogInLab, SavedAddressIsWhatTheDeviceHoldsAtTheNextSearch)
{
    const Device& saved = devices.front();
    const Device& other = devices.back();
    const DWORD newIp = Address("10.213.77.51");
    const DWORD newMask = Address("255.255.0.0");
    const DWORD newGateway = Address("10.213.77.254");
    Run([&] {
        SearchAll();
        Select(saved, saved.ip);
        dialog.m_ctlIp.SetAddress(newIp);
        dialog.m_ctlMask.SetAddress(newMask);
        dialog.m_ctlGateway.SetAddress(newGateway);

        boxes.Expect("Save Complete!");
        driver::Click(driver::Control(dialog, IDC_SAVE));
        ASSERT_TRUE(WaitUntil([&] { return boxes.Pending() == 0; }, 10000)) << "no save reply";

        SearchAll();
        Select(saved, newIp);
        EXPECT_EQ(Shown(dialog.m_ctlMask), newMask);
        EXPECT_EQ(Shown(dialog.m_ctlGateway), newGateway);
        Select(other, other.ip);
    });

    // What the device itself logged: exactly one save, naming it, with the new addresses.
    std::string mac12 = saved.mac;
    mac12.erase(std::remove(mac12.begin(), mac12.end(), ':'), mac12.end());
    std::ifstream log("Z:" + Env("LANVISTA_LAB_LOGS") + "/devices.log");
    ASSERT_TRUE(log) << "no devsim log in " << Env("LANVISTA_LAB_LOGS");
    std::vector<std::string> saves;
    for (std::string line; std::getline(log, line);)
        if (line.find(": save 10 ") != std::string::npos)
            saves.push_back(line);
    ASSERT_EQ(saves.size(), 1u) << testing::PrintToString(saves);
    EXPECT_NE(saves[0].find(" save 10 " + mac12 + " ip=10.213.77.51 mask=255.255.0.0 gateway=10.213.77.254 "),
              std::string::npos)
        << saves[0];
}

// A firmware image in the Windows temporary folder, larger than a TCP window of the link.
std::string WriteImage()
{
    char folder[MAX_PATH];
    EXPECT_NE(::GetTempPathA(sizeof folder, folder), 0u);
    const std::string path = std::string(folder) + "Brimnet_v3.08.bin";
    std::ofstream out(path, std::ios::binary);
    for (unsigned i = 0; i < 300 * 1024 / 4; ++i) {
        const unsigned word = i * 2654435761u;
        out.write(reinterpret_cast<const char*>(&word), sizeof word);
    }
    EXPECT_TRUE(out.good()) << path;
    return path;
}

struct UpdateCase {
    const char* name;
    bool toNakDevice;
    const char* verdict;
    bool imageKept;
};

class DialogUpdateInLab : public DialogInLab, public ::testing::WithParamInterface<UpdateCase> {};

TEST_P(DialogUpdateInLab, BrowseAndStartUpdateShowTheDevicesVerdict)
{
    const UpdateCase& c = GetParam();
    const std::string image = WriteImage();
    FileDialogRecorder files;
    Run([&] {
        SearchAll();
        const Device& target = c.toNakDevice ? nak : devices.at(1);
        Select(target, target.ip);

        files.ExpectPath(image);
        driver::Click(driver::Control(dialog, IDC_BROWSE));
        ASSERT_TRUE(WaitUntil([&] { return dialog.m_nImageLength == 300u * 1024; }))
            << "image length " << dialog.m_nImageLength;
        dialog.m_ctlUpdateIp.SetAddress(target.ip);

        boxes.Expect(c.verdict);
        driver::Click(driver::Control(dialog, IDC_START_UPDATE));
        ASSERT_TRUE(WaitUntil([&] { return boxes.Pending() == 0; }, 20000)) << "no verdict from " << target.mac;
        EXPECT_TRUE(WaitUntil([&] { return dialog.m_pDownload == nullptr; })) << "the connection ended";
        EXPECT_EQ(dialog.m_nImageLength, c.imageKept ? 300u * 1024 : 0u);
    });
    ::DeleteFileA(image.c_str());
}

INSTANTIATE_TEST_SUITE_P(Verdicts, DialogUpdateInLab,
                         ::testing::Values(UpdateCase{"DeviceTakesTheImage", false, "Success Program Download!", false},
                                           UpdateCase{"NakDeviceRefusesIt", true, "Fail Program Download!", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialogInLab, AboutBoxOpensFromTheSystemMenu)
{
    std::string caption;
    std::string focused;
    Run([&] {
        // Runs inside the About box's own modal loop.
        driver::RunSoon([&] {
            EXPECT_TRUE(driver::ActivateModal());
            caption = driver::Text(::GetActiveWindow());
            const CWnd* focus = CWnd::GetFocus();
            focused = focus ? driver::Text(focus->m_hWnd) : std::string();
            driver::PressKey(VK_RETURN);
        });
        CMenu* menu = dialog.GetSystemMenu(FALSE);
        ASSERT_NE(menu, nullptr);
        std::string item;
        menu->GetMenuString(IDM_ABOUTBOX, item, MF_BYCOMMAND);
        EXPECT_EQ(item, "Lanvista 정보(&A)...");
        dialog.SendMessage(WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    });
    EXPECT_EQ(caption, "Lanvista 정보");
    EXPECT_EQ(focused, "확인");
}

}  // namespace
