#pragma once

#include "platform/toolkit/CWnd.h"

// A static text, icon or group box of a dialog.
class CStatic : public CWnd {
};
