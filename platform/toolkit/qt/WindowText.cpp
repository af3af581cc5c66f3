#include "platform/toolkit/qt/WindowText.h"

#include "platform/toolkit/qt/IpAddressWidget.h"
#include "platform/toolkit/qt/LineEdit.h"
#include "platform/toolkit/qt/MultiLineEdit.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QVariant>

namespace {
// A static's text as the program set it, mnemonic marks included.
constexpr char kStaticTextProperty[] = "lanvistaStaticText";
}

QString StaticDisplayText(const QString& text)
{
    QString shown;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&') && i + 1 < text.size())
            ++i;
        shown.append(text.at(i));
    }
    return shown;
}

void SetStaticText(QLabel* label, const QString& text, bool mnemonics)
{
    const QString shown = mnemonics ? StaticDisplayText(text) : text;
    // A label tied to a control for screen readers would make a '&' a shortcut and hide it.
    if (label->buddy() != nullptr && shown.contains(u'&'))
        label->setBuddy(nullptr);
    if (mnemonics)
        label->setProperty(kStaticTextProperty, text);
    label->setText(shown);
}

QString WindowText(const QWidget* widget)
{
    if (widget->isWindow())
        return widget->windowTitle();
    if (auto* edit = qobject_cast<const QLineEdit*>(widget))
        return edit->text();
    if (auto* edit = qobject_cast<const MultiLineEdit*>(widget))
        return edit->Text();
    if (auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    if (auto* group = qobject_cast<const QGroupBox*>(widget))
        return group->title();
    if (auto* label = qobject_cast<const QLabel*>(widget)) {
        const QVariant original = label->property(kStaticTextProperty);
        return original.isValid() ? original.toString() : label->text();
    }
    if (auto* combo = qobject_cast<const QComboBox*>(widget))
        return combo->currentText();
    if (auto* address = qobject_cast<const IpAddressWidget*>(widget))
        return address->Text();
    return QString();
}

void SetWindowTextOf(QWidget* widget, QAnyStringView newText)
{
    if (QAnyStringView::compare(WindowText(widget), newText) == 0)
        return;
    const QString text = newText.toString();
    if (widget->isWindow()) {
        widget->setWindowTitle(text);
    } else if (auto* edit = qobject_cast<LineEdit*>(widget)) {
        edit->SetTextKeepingLimit(text);
    } else if (auto* plain = qobject_cast<QLineEdit*>(widget)) {
        plain->setText(text);
    } else if (auto* multi = qobject_cast<MultiLineEdit*>(widget)) {
        multi->SetText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        group->setTitle(text);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        SetStaticText(label, text, label->property(kStaticTextProperty).isValid());
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        if (combo->isEditable())
            combo->setEditText(text);
    } else if (auto* address = qobject_cast<IpAddressWidget*>(widget)) {
        address->SetText(text);
    }
}
