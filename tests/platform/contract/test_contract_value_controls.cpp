// The IP-address control and the combo box on the layer: an address is four fields with the
// first in the most significant byte, a blank control reads as 0 with no field filled; a
// combo box's list starts unselected and keeps its entries in the order added.
#include "ContractDialog.h"

#include "tests/support/DialogDriver.h"

#include <gtest/gtest.h>

using namespace contract;

namespace {

struct AddressCase {
    DWORD address;
    const char* text;
};

const AddressCase kAddresses[] = {
    {0x00000000, "0.0.0.0"},
    {0xC0A80001, "192.168.0.1"},
    {0x0A000102, "10.0.1.2"},
    {0xFFFFFFFF, "255.255.255.255"},
};

TEST(ContractValueControls, AddressesComeBackWithTheFirstFieldHighest)
{
    ContractDialog dialog;
    RunModal(dialog, [&] {
        CIPAddressCtrl& box = dialog.m_addressBox;
        EXPECT_TRUE(box.IsBlank());
        for (const AddressCase& c : kAddresses) {
            box.SetAddress(c.address);
            DWORD read = 1;
            EXPECT_EQ(box.GetAddress(read), 4) << c.text;
            EXPECT_EQ(read, c.address) << c.text;
            EXPECT_FALSE(box.IsBlank()) << c.text;
            EXPECT_EQ(driver::Text(box.m_hWnd), c.text);
        }
        box.SetAddress(10, 1, 2, 3);
        BYTE fields[4] = {};
        EXPECT_EQ(box.GetAddress(fields[0], fields[1], fields[2], fields[3]), 4);
        EXPECT_EQ(fields[0], 10);
        EXPECT_EQ(fields[3], 3);

        box.ClearAddress();
        DWORD cleared = 1;
        EXPECT_TRUE(box.IsBlank());
        EXPECT_EQ(box.GetAddress(cleared), 0) << "no field filled";
        EXPECT_EQ(cleared, 0u);
    });
}

TEST(ContractValueControls, ComboBoxKeepsOrderAndStartsUnselected)
{
    ContractDialog dialog;
    RunModal(dialog, [&] {
        CComboBox& box = dialog.m_choiceBox;
        EXPECT_EQ(box.AddString("9600"), 0);
        EXPECT_EQ(box.AddString("115200"), 1);
        EXPECT_EQ(box.AddString("4800"), 2) << "unsorted: appended";
        EXPECT_EQ(box.GetCount(), 3);
        EXPECT_EQ(box.GetCurSel(), CB_ERR);

        EXPECT_EQ(box.SetCurSel(1), 1);
        EXPECT_EQ(box.GetCurSel(), 1);
        std::string text;
        EXPECT_EQ(box.GetLBText(1, text), 6);
        EXPECT_EQ(text, "115200");
        EXPECT_EQ(box.GetLBText(3, text), CB_ERR);

        EXPECT_EQ(box.SetCurSel(3), CB_ERR) << "out of range";
        EXPECT_EQ(box.SetCurSel(-1), CB_ERR);
        EXPECT_EQ(box.GetCurSel(), CB_ERR) << "-1 clears the selection";
        EXPECT_TRUE(dialog.notifications.empty()) << "the program's changes notify nothing";
    });
}

} // namespace
