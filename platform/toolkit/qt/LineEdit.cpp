#include "platform/toolkit/qt/LineEdit.h"

#include "platform/toolkit/qt/ControlWindow.h"
#include "platform/toolkit/qt/UpperCaseValidator.h"

LineEdit::LineEdit(QWidget* parent, bool upperCase) : QLineEdit(parent)
{
    if (upperCase)
        setValidator(new UpperCaseValidator(this));
    setMaxLength(kLargestLimit);
    connect(this, &QLineEdit::textChanged, this, &LineEdit::OnTextChanged);
}

void LineEdit::SetTextLimit(int limit)
{
    m_limit = (limit <= 0 || limit > kLargestLimit) ? kLargestLimit : limit;
    ApplyLimit();
}

void LineEdit::SetTextKeepingLimit(const QString& text)
{
    if (text == this->text())
        return;
    if (text.size() > maxLength())
        setMaxLength(static_cast<int>(text.size()));
    setText(text);
}

void LineEdit::OnTextChanged()
{
    ApplyLimit();
    NotifyParent(this, EN_UPDATE);
    NotifyParent(this, EN_CHANGE);
}

void LineEdit::ApplyLimit()
{
    // Qt cuts the text to maxLength, so an over-long text set by the program widens it
    // until the text is short enough again.
    const int wanted = std::max(m_limit, static_cast<int>(text().size()));
    if (maxLength() != wanted)
        setMaxLength(wanted);
}
