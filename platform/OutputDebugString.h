#pragma once

// On Windows the system's own OutputDebugStringA, read with a debugger or DebugView.
#ifdef _WIN32
#include "platform/WinTypes.h"
#else
/// Writes `text` as one debug message of the logging category "lanvista.trace", exactly as
/// given (a trailing line feed included). The category is off by default; switch it on with
/// QT_LOGGING_RULES="lanvista.trace.debug=true".
void OutputDebugStringA(const char* text);
#endif
