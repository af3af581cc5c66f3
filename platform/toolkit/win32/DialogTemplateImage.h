#pragma once
// A dialog template's rows as the in-memory DLGTEMPLATEEX the dialog manager builds its
// window from: dialog units, the template's font, styles and extended styles.

#include "platform/toolkit/DialogTemplate.h"

#include <vector>

// visible: keep WS_VISIBLE of the template; a modal run shows the window itself once it
// is initialised. rightToLeft: the process lays its windows out right to left, the only
// layout in which a group box honours WS_EX_RIGHT (Wine would honour it in any). The image
// is DWORD-aligned data for CreateDialogIndirectParam.
std::vector<DWORD> DialogTemplateImage(const DialogTemplate& dialog, bool visible, bool rightToLeft);
