#pragma once

#include <QValidator>

// Converts letters to upper case as they are typed, pasted or set (ES_UPPERCASE).
class UpperCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};
