#pragma once

#include <QLineEdit>

// A single-line edit control. Every change of its text notifies the dialog with
// EN_UPDATE then EN_CHANGE. The text limit caps what typing and pasting can make the text;
// text set by the program is kept whole, and while it is longer than the limit nothing
// more can be typed.
class LineEdit : public QLineEdit {
    Q_OBJECT

public:
    LineEdit(QWidget* parent, bool upperCase);

    void SetTextLimit(int limit);
    int TextLimit() const { return m_limit; }
    // Sets the text, bypassing the limit; no change, no notification.
    void SetTextKeepingLimit(const QString& text);

    static constexpr int kLargestLimit = 32767;

private:
    void OnTextChanged();
    void ApplyLimit();

    int m_limit = kLargestLimit;
};
