#pragma once

#include <QPlainTextEdit>

#include <optional>

// A multi-line edit control. Text set while it is hidden is held and laid out only when it
// is shown or its caret is used: laying out text nobody sees costs time, and for binary
// text fallback fonts too. Read back through Text(), and the change notified, at once.
class MultiLineEdit : public QPlainTextEdit {
    Q_OBJECT

public:
    MultiLineEdit(const QString& text, QWidget* parent);

    QString Text() const;
    void SetText(const QString& text);
    // Puts held text into the document, for callers that work on its caret or selection.
    void ApplyHeldText();

    void setVisible(bool visible) override;

private:
    std::optional<QString> m_held;
};
