#include "platform/toolkit/SingleByteText.h"

#include <QString>

std::string SingleByteText(const std::string& utf8)
{
    // toLatin1 maps each UTF-16 unit on its own, so a surrogate pair gives two '?'.
    return QString::fromStdString(utf8).toLatin1().toStdString();
}
