// Which label a screen reader gives each control of a template, from where the controls
// stand: a label just left or just above, not one behind another control or out of reach,
// else the group box around, numbered when several controls share it.
#include "platform/toolkit/qt/ControlLabels.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr DWORD kShown = WS_CHILD | WS_VISIBLE;
using K = ControlKind;

struct Case {
    const char* name;
    std::vector<DialogControlTemplate> controls;
    std::vector<std::string> names;  // per row
    std::vector<int> labels;         // per row
};

DialogTemplate TemplateOf(const std::vector<DialogControlTemplate>& controls)
{
    return {1, "t", 0, 0, 200, 100, 0, 0, "", 9, controls};
}

class ControlLabelTable : public testing::TestWithParam<Case> {};

TEST_P(ControlLabelTable, NamesEachControl)
{
    const std::vector<ControlLabel> labels = LabelControls(TemplateOf(GetParam().controls));
    std::vector<std::string> names;
    std::vector<int> labelRows;
    for (const ControlLabel& label : labels) {
        names.push_back(label.name);
        labelRows.push_back(label.labelIndex);
    }
    EXPECT_EQ(names, GetParam().names);
    EXPECT_EQ(labelRows, GetParam().labels);
}

INSTANTIATE_TEST_SUITE_P(
    Templates, ControlLabelTable,
    testing::Values(
        Case{"LabelLeftOnTheRow",
             {{K::Static, 1, "l", "&Port:", 5, 10, 30, 8, kShown, 0}, {K::Edit, 2, "e", "", 38, 8, 40, 12, kShown, 0}},
             {"", "Port:"},
             {-1, 0}},
        Case{"LabelAboveInTheColumn",
             {{K::IpAddress, 2, "e", "", 5, 20, 60, 12, kShown, 0}, {K::Static, 1, "l", "Gateway", 5, 10, 30, 8, kShown, 0}},
             {"Gateway", ""},
             {1, -1}},
        Case{"NearerOfLeftAndAbove",
             {{K::Static, 1, "a", "Above", 50, 0, 30, 8, kShown, 0},
              {K::Static, 2, "l", "Left", 5, 12, 40, 8, kShown, 0},
              {K::Edit, 3, "e", "", 46, 12, 40, 12, kShown, 0}},
             {"", "", "Left"},
             {-1, -1, 1}},
        Case{"AControlBetweenHidesTheLabel",
             {{K::Static, 1, "l", "Version", 5, 0, 30, 8, kShown, 0},
              {K::Edit, 2, "v", "", 5, 9, 30, 10, kShown, 0},
              {K::ListBox, 3, "list", "", 5, 22, 60, 40, kShown, 0}},
             {"", "Version", ""},
             {-1, 0, -1}},
        Case{"OutOfReach",
             {{K::Static, 1, "l", "Far", 5, 0, 30, 8, kShown, 0}, {K::Edit, 2, "e", "", 5, 30, 30, 12, kShown, 0}},
             {"", ""},
             {-1, -1}},
        Case{"HiddenLabelLabelsNothing",
             {{K::Static, 1, "l", "Baud", 5, 10, 30, 8, WS_CHILD, 0}, {K::Edit, 2, "e", "", 38, 8, 40, 12, kShown, 0}},
             {"", ""},
             {-1, -1}},
        Case{"HiddenControlGetsNoName",
             {{K::Static, 1, "l", "Baud", 5, 10, 30, 8, kShown, 0}, {K::ComboBox, 2, "c", "", 38, 8, 40, 12, WS_CHILD, 0}},
             {"", ""},
             {-1, -1}},
        Case{"GroupNamesItsUnlabelledControlsInOrder",
             {{K::GroupBox, 1, "g", "MAC Address", 0, 0, 100, 40, kShown, 0},
              {K::Edit, 2, "m1", "", 5, 15, 14, 14, kShown, 0},
              {K::Edit, 3, "m2", "", 20, 15, 14, 14, kShown, 0},
              {K::PushButton, 4, "b", "Search", 40, 15, 40, 14, kShown, 0}},
             {"", "MAC Address 1", "MAC Address 2", ""},
             {-1, -1, -1, -1}},
        Case{"GroupWithOneUnlabelledControlLendsItsTitle",
             {{K::GroupBox, 1, "g", "Information", 0, 0, 100, 80, kShown, 0},
              {K::ListBox, 2, "list", "", 5, 15, 50, 60, kShown, 0}},
             {"", "Information"},
             {-1, -1}}),
    [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(WithoutMnemonic, DropsTheMarksAndKeepsADoubledOne)
{
    EXPECT_EQ(WithoutMnemonic("&Port"), "Port");
    EXPECT_EQ(WithoutMnemonic("Save && close"), "Save & close");
    EXPECT_EQ(WithoutMnemonic("Trailing&"), "Trailing&");
    EXPECT_EQ(WithoutMnemonic(nullptr), "");
}

}  // namespace
