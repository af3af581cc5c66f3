// Texts on the layer: the program's UTF-8 reaches the controls as the characters it names
// (Korean among them) and comes back the same; list entries come back byte for byte.
#include "ContractDialog.h"

#include "tests/support/DialogDriver.h"

#include <gtest/gtest.h>

using namespace contract;

namespace {

const char* const kTexts[] = {
    "",
    "plain ASCII",
    "Lanvista 정보(&A)...",
    "Windows 소켓 초기화에 실패하였습니다.",
    "\xC3\xA9t\xC3\xA9",  // Latin-1 letters
    "\xF0\x9F\x98\x80 beyond 16 bits",
};

TEST(ContractText, WindowTextsComeBackAsGiven)
{
    ContractDialog dialog;
    RunModal(dialog, [&] {
        for (const int id : {kNameEdit, kNameLabel, kGoButton}) {
            CWnd* control = dialog.GetDlgItem(id);
            for (const char* text : kTexts) {
                control->SetWindowText(text);
                EXPECT_EQ(driver::Text(control->m_hWnd), text) << id;
            }
        }
        dialog.m_nameEdit.SetWindowText("한글");
        EXPECT_EQ(dialog.m_nameEdit.GetWindowTextLength(), 2) << "characters, not bytes";
    });
}

TEST(ContractText, ListEntriesComeBackByteForByte)
{
    using namespace std::string_literals;
    const std::string entries[] = {
        "00:11:22:AA:BB:CC"s,
        "한글"s,
        "raw \xFF\xFE bytes\x80"s,
        "\xED\xA0\x80 an encoded surrogate"s,
    };
    ContractDialog dialog;
    RunModal(dialog, [&] {
        for (const std::string& entry : entries)
            dialog.m_itemList.AddString(entry.c_str());
        ASSERT_EQ(dialog.m_itemList.GetCount(), 4);
        for (int i = 0; i < 4; ++i) {
            std::string text;
            EXPECT_EQ(dialog.m_itemList.GetText(i, text), static_cast<int>(entries[i].size()));
            EXPECT_EQ(text, entries[i]) << i;
        }
    });
}

} // namespace
