#include "platform/toolkit/qt/UpperCaseValidator.h"

QValidator::State UpperCaseValidator::validate(QString& input, int&) const
{
    // Character by character, as the platform converts: a letter whose capital is longer
    // (ß gives "SS" in QString::toUpper) stays as it is, so the box's length never changes.
    for (QChar& ch : input) {
        if (!ch.isSurrogate())
            ch = ch.toUpper();
    }
    return Acceptable;
}
