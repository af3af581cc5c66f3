#include "platform/toolkit/qt/ControlLabels.h"

#include <algorithm>
#include <cstddef>
#include <limits>
#include <map>

namespace {

// How far, in dialog units, a label may stand from what it labels.
constexpr int kLabelReach = 10;

bool Has(DWORD style, DWORD bits)
{
    return (style & bits) == bits;
}

bool IsShown(const DialogControlTemplate& control)
{
    return Has(control.style, WS_VISIBLE);
}

bool NeedsLabel(ControlKind kind)
{
    return kind == ControlKind::Edit || kind == ControlKind::ListBox || kind == ControlKind::ComboBox ||
           kind == ControlKind::IpAddress;
}

bool Overlap(int start, int length, int otherStart, int otherLength)
{
    return start < otherStart + otherLength && otherStart < start + length;
}

// The gap from `other` to `control` when `other` stands to its left (horizontal) or above it
// (vertical) and shares its row or column; -1 when it does not.
int GapTo(const DialogControlTemplate& control, const DialogControlTemplate& other, bool horizontal)
{
    if (horizontal) {
        if (!Overlap(control.y, control.cy, other.y, other.cy) || other.x + other.cx > control.x)
            return -1;
        return control.x - (other.x + other.cx);
    }
    if (!Overlap(control.x, control.cx, other.x, other.cx) || other.y + other.cy > control.y)
        return -1;
    return control.y - (other.y + other.cy);
}

// The nearest shown control left of or above `index` (group boxes are frames, not
// neighbours), when it is a static text within reach: its row, and the gap.
std::pair<int, int> LabelInDirection(const DialogTemplate& dialog, std::size_t index, bool horizontal)
{
    const DialogControlTemplate& control = dialog.controls[index];
    int nearest = -1;
    int nearestGap = std::numeric_limits<int>::max();
    for (std::size_t i = 0; i < dialog.controls.size(); ++i) {
        const DialogControlTemplate& other = dialog.controls[i];
        if (i == index || !IsShown(other) || other.kind == ControlKind::GroupBox)
            continue;
        const int gap = GapTo(control, other, horizontal);
        if (gap >= 0 && gap < nearestGap) {
            nearest = static_cast<int>(i);
            nearestGap = gap;
        }
    }
    if (nearest < 0 || nearestGap > kLabelReach || dialog.controls[std::size_t(nearest)].kind != ControlKind::Static)
        return {-1, 0};
    return {nearest, nearestGap};
}

int LabelOf(const DialogTemplate& dialog, std::size_t index)
{
    const auto [left, leftGap] = LabelInDirection(dialog, index, true);
    const auto [above, aboveGap] = LabelInDirection(dialog, index, false);
    if (left >= 0 && (above < 0 || leftGap <= aboveGap))
        return left;
    return above;
}

bool Inside(const DialogControlTemplate& control, const DialogControlTemplate& group)
{
    return control.x >= group.x && control.y >= group.y && control.x + control.cx <= group.x + group.cx &&
           control.y + control.cy <= group.y + group.cy;
}

// The innermost shown group box around the control; -1 for none.
int GroupOf(const DialogTemplate& dialog, std::size_t index)
{
    int innermost = -1;
    for (std::size_t i = 0; i < dialog.controls.size(); ++i) {
        const DialogControlTemplate& group = dialog.controls[i];
        if (group.kind != ControlKind::GroupBox || !IsShown(group) || !Inside(dialog.controls[index], group))
            continue;
        if (innermost < 0 || Inside(group, dialog.controls[std::size_t(innermost)]))
            innermost = static_cast<int>(i);
    }
    return innermost;
}

}  // namespace

std::string WithoutMnemonic(const char* text)
{
    std::string plain;
    for (const char* c = text ? text : ""; *c != '\0'; ++c) {
        if (*c == '&' && c[1] != '\0')
            ++c;
        plain.push_back(*c);
    }
    return plain;
}

std::vector<ControlLabel> LabelControls(const DialogTemplate& dialog)
{
    std::vector<ControlLabel> labels(dialog.controls.size());
    std::map<int, std::vector<std::size_t>> unlabelledByGroup;
    for (std::size_t i = 0; i < dialog.controls.size(); ++i) {
        const DialogControlTemplate& control = dialog.controls[i];
        if (!IsShown(control) || !NeedsLabel(control.kind))
            continue;
        const int label = LabelOf(dialog, i);
        if (label >= 0) {
            labels[i] = {label, WithoutMnemonic(dialog.controls[std::size_t(label)].text)};
            continue;
        }
        if (const int group = GroupOf(dialog, i); group >= 0)
            unlabelledByGroup[group].push_back(i);
    }
    for (const auto& [group, members] : unlabelledByGroup) {
        const std::string title = WithoutMnemonic(dialog.controls[std::size_t(group)].text);
        for (std::size_t n = 0; n < members.size(); ++n)
            labels[members[n]].name = members.size() == 1 ? title : title + " " + std::to_string(n + 1);
    }
    return labels;
}
