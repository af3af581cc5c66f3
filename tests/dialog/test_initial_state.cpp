// The main dialog as it opens: controls, defaults, focus and option boxes.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QWidget>

#include <gtest/gtest.h>

#include "DialogFixture.h"

namespace {

struct ControlState {
    const char* name;
    bool visible;
    bool enabled;
};

// What the template makes of every control that is not plainly visible and enabled, and a
// sample of those that are.
const ControlState kControlStates[] = {
    {"searchButton", true, true},     {"exitButton", true, true},       {"mac1", true, true},
    {"mac6", true, true},             {"deviceList", true, true},       {"portBox", true, true},
    {"ipBox", true, true},            {"maskBox", true, true},          {"gatewayBox", true, true},
    {"saveButton", true, true},       {"dhcpBox", true, false},         {"recordList", false, false},
    {"serialGroup", false, false},    {"baudRateBox", false, false},    {"dataBitsBox", false, false},
    {"parityBox", false, false},      {"stopBitsBox", false, false},    {"flowControlBox", false, false},
    {"baudRateLabel", false, false},  {"parityLabel", false, false},    {"dataBitsLabel", false, false},
    {"stopBitsLabel", false, false},  {"flowControlLabel", false, false}, {"updateFileBox", true, true},
    {"startUpdateButton", true, true}, {"updateTraceBox", false, false}, {"browseButton", true, true},
    {"updateIpBox", true, true},      {"versionBox", true, false},      {"macClearButton", true, true},
};

TEST(InitialState, ControlsAreShownAndEnabledAsTheTemplateSays)
{
    DialogFixture fixture;
    for (const ControlState& expected : kControlStates) {
        QWidget* control = fixture.widget(expected.name);
        ASSERT_NE(control, nullptr) << expected.name;
        EXPECT_EQ(control->isVisible(), expected.visible) << expected.name;
        EXPECT_EQ(control->isEnabled(), expected.enabled) << expected.name;
    }
}

TEST(InitialState, ListsEmptyAddressesBlankPortDefaultFocusOnSearch)
{
    DialogFixture fixture;
    CConfigDlg& dialog = fixture.dialog();

    EXPECT_EQ(fixture.window()->windowTitle(), QStringLiteral("Lanvista(Ver 1.13)"));
    EXPECT_FALSE(fixture.window()->windowIcon().isNull());
    EXPECT_TRUE(fixture.DeviceList().empty());
    EXPECT_TRUE(fixture.RecordList().empty());
    for (CIPAddressCtrl* box : {&dialog.m_ctlIp, &dialog.m_ctlMask, &dialog.m_ctlGateway, &dialog.m_ctlUpdateIp})
        EXPECT_TRUE(box->IsBlank());
    EXPECT_EQ(fixture.widget<QLineEdit>("portBox")->text(), QStringLiteral("9100"));
    EXPECT_TRUE(fixture.widget<QLineEdit>("versionBox")->text().isEmpty());
    EXPECT_EQ(dialog.m_ctlUseDhcp.GetCheck(), 0);
    EXPECT_EQ(QApplication::focusWidget(), fixture.widget("searchButton"));
}

struct OptionBox {
    const char* name;
    QStringList entries;
    int selected;
};

TEST(InitialState, OptionBoxesAreFilledInOrderAndSelected)
{
    DialogFixture fixture;
    const OptionBox boxes[] = {
        {"baudRateBox", {"4800", "9600", "19200", "38400", "57600", "115200", "230400", "460800", "921600"}, 5},
        {"dataBitsBox", {"8", "9"}, 0},
        {"parityBox", {"None", "Odd", "Even"}, 0},
        {"stopBitsBox", {"1", "2"}, 0},
        {"flowControlBox", {"None", "RTS/CTS"}, 1},
    };
    for (const OptionBox& expected : boxes) {
        auto* box = fixture.widget<QComboBox>(expected.name);
        ASSERT_NE(box, nullptr) << expected.name;
        QStringList entries;
        for (int i = 0; i < box->count(); ++i)
            entries << box->itemText(i);
        EXPECT_EQ(entries, expected.entries) << expected.name;
        EXPECT_EQ(box->currentIndex(), expected.selected) << expected.name;
    }
}

}  // namespace
