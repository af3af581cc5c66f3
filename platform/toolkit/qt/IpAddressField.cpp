#include "platform/toolkit/qt/IpAddressField.h"

#include "platform/toolkit/qt/IpAddressWidget.h"

#include <QKeyEvent>
#include <QRegularExpressionValidator>

IpAddressField::IpAddressField(IpAddressWidget* owner, int index)
    : QLineEdit(owner), m_owner(owner), m_index(index)
{
    setObjectName(QStringLiteral("field%1").arg(index));
    setFrame(false);
    setAlignment(Qt::AlignCenter);
    setMaxLength(3);
    setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), this));
}

void IpAddressField::keyPressEvent(QKeyEvent* event)
{
    const bool noSelection = !hasSelectedText();
    const int last = IpAddressWidget::kFields - 1;
    switch (event->key()) {
    case Qt::Key_Period:
    case Qt::Key_Space:
        if (!text().isEmpty() && m_index < last)
            m_owner->EnterField(m_index + 1, true, false);
        return;
    case Qt::Key_Backspace:
        if (noSelection && cursorPosition() == 0) {
            if (m_index > 0)
                m_owner->EnterField(m_index - 1, false, true);
            return;
        }
        break;
    case Qt::Key_Left:
        if (noSelection && cursorPosition() == 0 && m_index > 0
            && event->modifiers() == Qt::NoModifier) {
            m_owner->EnterField(m_index - 1, false, true);
            return;
        }
        break;
    case Qt::Key_Right:
        if (noSelection && cursorPosition() == text().size() && m_index < last
            && event->modifiers() == Qt::NoModifier) {
            m_owner->EnterField(m_index + 1, false, false);
            return;
        }
        break;
    default:
        break;
    }

    const QString before = text();
    QLineEdit::keyPressEvent(event);
    const bool typedDigit = !event->text().isEmpty() && event->text().at(0).isDigit();
    if (typedDigit && text() != before && text().size() == 3) {
        CorrectValue();
        if (m_index < last)
            m_owner->EnterField(m_index + 1, true, false);
    }
}

void IpAddressField::focusOutEvent(QFocusEvent* event)
{
    CorrectValue();
    QLineEdit::focusOutEvent(event);
}

bool IpAddressField::focusNextPrevChild(bool next)
{
    IpAddressField* first = m_owner->Field(0);
    const Qt::FocusPolicy policy = first->focusPolicy();
    first->setFocusPolicy(Qt::ClickFocus);
    const bool moved = QLineEdit::focusNextPrevChild(next);
    first->setFocusPolicy(policy);
    return moved;
}

void IpAddressField::CorrectValue()
{
    if (!text().isEmpty() && text().toInt() > 255)
        setText(QStringLiteral("255"));
}
