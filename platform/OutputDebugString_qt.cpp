#include "platform/OutputDebugString.h"

#include <QLoggingCategory>

// Debug messages are off unless a logging rule switches them on.
Q_LOGGING_CATEGORY(lcLanvistaTrace, "lanvista.trace", QtInfoMsg)

void OutputDebugStringA(const char* text)
{
    if (!text)
        return;
    qCDebug(lcLanvistaTrace, "%s", text);
}
