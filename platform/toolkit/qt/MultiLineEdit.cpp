#include "platform/toolkit/qt/MultiLineEdit.h"

#include <QSignalBlocker>

#include <utility>

MultiLineEdit::MultiLineEdit(const QString& text, QWidget* parent) : QPlainTextEdit(text, parent) {}

QString MultiLineEdit::Text() const
{
    return m_held ? *m_held : toPlainText();
}

void MultiLineEdit::SetText(const QString& text)
{
    if (!isHidden()) {
        m_held.reset();
        setPlainText(text);
        return;
    }
    m_held = text;
    emit textChanged();
}

void MultiLineEdit::ApplyHeldText()
{
    if (!m_held)
        return;
    // The dialog was told of the change when the text was set.
    const QSignalBlocker quiet(this);
    setPlainText(*std::exchange(m_held, std::nullopt));
}

void MultiLineEdit::setVisible(bool visible)
{
    if (visible)
        ApplyHeldText();
    QPlainTextEdit::setVisible(visible);
}
