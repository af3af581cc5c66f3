// The main dialog as a screen reader meets it: every control without a text of its own is
// called by its label and tied to it, the IP-address controls' fields by their place, and
// the controls the dialog never shows are not there at all.
#include <QAccessible>
#include <QAccessibleInterface>
#include <QLabel>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "DialogFixture.h"
#include "ui/Resource.h"

namespace {

QAccessibleInterface* Accessible(QWidget* widget)
{
    return QAccessible::queryAccessibleInterface(widget);
}

std::string NameOf(QAccessibleInterface* item)
{
    return item ? item->text(QAccessible::Name).toStdString() : "(none)";
}

class DialogAccessibility : public testing::Test {
protected:
    DialogFixture f;
};

}  // namespace

TEST_F(DialogAccessibility, ControlsAreCalledByTheirLabels)
{
    const std::map<std::string, std::string> expected = {
        {"ipBox", "IP Address"},        {"maskBox", "SUBNET Mask"},        {"gatewayBox", "Gateway"},
        {"portBox", "Port"},            {"versionBox", "F/W Version:"},    {"updateIpBox", "IP Address"},
        {"updateFileBox", "Update File Name"}, {"deviceList", "Information"}, {"mac1", "MAC Address 1"},
        {"mac6", "MAC Address 6"},      {"searchButton", "Search"},        {"dhcpBox", "Use DHCP"},
    };
    for (const auto& [objectName, name] : expected) {
        SCOPED_TRACE(objectName);
        EXPECT_EQ(NameOf(Accessible(f.widget(objectName.c_str()))), name);
    }
}

TEST_F(DialogAccessibility, LabelsAreTiedToTheirFields)
{
    const std::vector<std::pair<const char*, const char*>> pairs = {
        {"ipLabel", "ipBox"}, {"maskLabel", "maskBox"}, {"gatewayLabel", "gatewayBox"},
        {"portLabel", "portBox"}, {"versionLabel", "versionBox"}, {"updateFileLabel", "updateFileBox"}};
    for (const auto& [labelName, fieldName] : pairs) {
        SCOPED_TRACE(fieldName);
        QWidget* label = f.widget(labelName);
        bool tied = false;
        for (const auto& [other, relation] : Accessible(f.widget(fieldName))->relations(QAccessible::Label))
            tied = tied || (other->object() == label && relation == QAccessible::Label);
        EXPECT_TRUE(tied) << "not labelled by " << labelName;
    }
}

TEST_F(DialogAccessibility, AddressFieldsAreCalledByTheirPlace)
{
    QAccessibleInterface* box = Accessible(f.widget("maskBox"));
    ASSERT_NE(box, nullptr);
    std::vector<std::string> fields;
    for (int i = 0; i < box->childCount(); ++i) {
        const std::string name = NameOf(box->child(i));
        if (!name.empty())
            fields.push_back(name);
    }
    EXPECT_EQ(fields, (std::vector<std::string>{"SUBNET Mask, field 1", "SUBNET Mask, field 2",
                                                "SUBNET Mask, field 3", "SUBNET Mask, field 4"}));
}

TEST_F(DialogAccessibility, HiddenControlsAreNotInTheTree)
{
    QAccessibleInterface* dialog = Accessible(f.window());
    ASSERT_NE(dialog, nullptr);
    std::vector<std::string> children;
    for (int i = 0; i < dialog->childCount(); ++i) {
        QAccessibleInterface* child = dialog->child(i);
        ASSERT_NE(child, nullptr);
        children.push_back(child->object()->objectName().toStdString());
        EXPECT_EQ(dialog->indexOfChild(child), i);
    }
    for (const char* hidden : {"recordList", "baudRateBox", "dataBitsBox", "parityBox", "stopBitsBox",
                               "flowControlBox", "baudRateLabel", "serialGroup", "updateTraceBox"}) {
        EXPECT_EQ(std::count(children.begin(), children.end(), hidden), 0) << hidden << " is in the tree";
    }
    for (const char* shown : {"searchButton", "deviceList", "ipBox", "portBox", "macGroup"})
        EXPECT_EQ(std::count(children.begin(), children.end(), shown), 1) << shown << " is not in the tree";
}

// Qt would take a '&' in a tied label's text for a shortcut and hide it: the label shows its
// text as the program set it and lets go of its field instead.
TEST_F(DialogAccessibility, ALabelGivenAnAmpersandShowsItAndLetsGo)
{
    auto* label = qobject_cast<QLabel*>(f.widget("ipLabel"));
    ASSERT_NE(label, nullptr);
    ASSERT_EQ(label->buddy(), f.widget("ipBox"));
    f.dialog().GetDlgItem(IDC_IP_LABEL)->SetWindowText("IP && mask");
    EXPECT_EQ(label->text(), QStringLiteral("IP & mask"));
    EXPECT_EQ(label->buddy(), nullptr);
}
