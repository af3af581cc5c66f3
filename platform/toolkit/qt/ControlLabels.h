#pragma once
// What a screen reader calls each control of a dialog template. A control with a text of its
// own (a button, a check box) is called by it; one without (an edit, a list, a combo box, an
// IP-address control) by the label that stands next to it, as a reader of the screen pairs
// them: a static text just left of it on its row or just above it in its column, with no
// other control nearer in that direction. A control with no such label is called by the
// group box it sits in, numbered when several in the group share the group's name.

#include "platform/toolkit/DialogTemplate.h"

#include <string>
#include <vector>

struct ControlLabel {
    int labelIndex = -1;  ///< the static text row that labels the control; -1 for none
    std::string name;     ///< the accessible name; empty when the control is called by its own text
};

/// One entry per template row, in row order. Hidden rows get none: they are not shown to
/// a screen reader at all.
std::vector<ControlLabel> LabelControls(const DialogTemplate& dialog);

/// A static text without its mnemonic marks: "&Port" reads "Port", "&&" reads "&".
std::string WithoutMnemonic(const char* text);
