#include "platform/toolkit/qt/DialogBuilder.h"

#include "platform/toolkit/CWinApp.h"
#include "platform/toolkit/qt/ControlLabels.h"
#include "platform/toolkit/qt/ControlWindow.h"
#include "platform/toolkit/qt/DialogAccessible.h"
#include "platform/toolkit/qt/DialogWidget.h"
#include "platform/toolkit/qt/GroupBoxWidget.h"
#include "platform/toolkit/qt/IpAddressField.h"
#include "platform/toolkit/qt/IpAddressWidget.h"
#include "platform/toolkit/qt/LineEdit.h"
#include "platform/toolkit/qt/ListBoxWidget.h"
#include "platform/toolkit/qt/MultiLineEdit.h"
#include "platform/toolkit/qt/QtHandles.h"
#include "platform/toolkit/ResourceTable.h"
#include "platform/toolkit/qt/WindowText.h"

#include <algorithm>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include <cstring>
#include <vector>

namespace {

struct FontFallback {
    const char* face;
    std::vector<const char*> standIns;
};

// Faces of the platform's dialogs and the installed fonts that take their place.
const std::vector<FontFallback>& FontFallbacks()
{
    static const std::vector<FontFallback> fallbacks = {
        {"Lucida Console", {"DejaVu Sans Mono"}},
        {"굴림", {"Gulim", "Noto Sans CJK KR"}},
    };
    return fallbacks;
}

int MulDiv(int number, int numerator, int denominator)
{
    const long long product = static_cast<long long>(number) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

bool Has(DWORD style, DWORD bits)
{
    return (style & bits) == bits;
}

QWidget* CreatePushButton(const DialogControlTemplate& control, QWidget* parent)
{
    auto* button = new QPushButton(FromUtf8(control.text), parent);
    // Enter is the dialog's business (see DialogWidget), not the button's.
    button->setAutoDefault(false);
    button->setDefault((control.style & 0x0F) == BS_DEFPUSHBUTTON);
    QObject::connect(button, &QPushButton::clicked, button, [button] { NotifyParent(button, BN_CLICKED); });
    return button;
}

QWidget* CreateCheckBox(const DialogControlTemplate& control, QWidget* parent)
{
    auto* box = new QCheckBox(FromUtf8(control.text), parent);
    QObject::connect(box, &QCheckBox::clicked, box, [box] { NotifyParent(box, BN_CLICKED); });
    return box;
}

QWidget* CreateGroupBox(const DialogControlTemplate& control, QWidget* parent)
{
    auto* group = new GroupBoxWidget(FromUtf8(control.text), Has(control.exStyle, WS_EX_RIGHT), parent);
    // A plain frame: the controls drawn inside it take the mouse.
    group->setAttribute(Qt::WA_TransparentForMouseEvents);
    return group;
}

QWidget* CreateStatic(const DialogControlTemplate& control, QWidget* parent, int height)
{
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // One-line statics clip at their right edge instead of wrapping out of sight.
    label->setWordWrap(label->fontMetrics().height() * 2 <= height);
    SetStaticText(label, FromUtf8(control.text), !Has(control.style, SS_NOPREFIX));
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

QWidget* CreateIcon(const DialogControlTemplate& control, QWidget* parent)
{
    auto* label = new QLabel(parent);
    const int size = GetSystemMetrics(SM_CXICON);
    if (HICON icon = ResourceTable::LoadIcon(control.iconId))
        label->setPixmap(icon->icon.pixmap(size, size));
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

QWidget* CreateEdit(const DialogControlTemplate& control, QWidget* parent)
{
    const DWORD style = control.style;
    if (Has(style, ES_MULTILINE)) {
        auto* edit = new MultiLineEdit(FromUtf8(control.text), parent);
        edit->setReadOnly(Has(style, ES_READONLY));
        if (!Has(style, WS_BORDER))
            edit->setFrameShape(QFrame::NoFrame);
        edit->setVerticalScrollBarPolicy(Has(style, WS_VSCROLL) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        edit->setHorizontalScrollBarPolicy(Has(style, WS_HSCROLL) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        const bool wraps = !Has(style, ES_AUTOHSCROLL) && !Has(style, WS_HSCROLL);
        edit->setLineWrapMode(wraps ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
        QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit] {
            NotifyParent(edit, EN_UPDATE);
            NotifyParent(edit, EN_CHANGE);
        });
        return edit;
    }
    auto* edit = new LineEdit(parent, Has(style, ES_UPPERCASE));
    edit->setText(FromUtf8(control.text));
    edit->setReadOnly(Has(style, ES_READONLY));
    edit->setFrame(Has(style, WS_BORDER));
    if (Has(style, ES_CENTER))
        edit->setAlignment(Qt::AlignCenter);
    return edit;
}

QWidget* CreateListBox(const DialogControlTemplate& control, QWidget* parent)
{
    auto* list = new ListBoxWidget(parent, Has(control.style, LBS_NOTIFY), Has(control.style, LBS_SORT));
    list->setVerticalScrollBarPolicy(Has(control.style, WS_VSCROLL) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    list->setHorizontalScrollBarPolicy(Has(control.style, WS_HSCROLL) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    if (!Has(control.style, WS_BORDER))
        list->setFrameShape(QFrame::NoFrame);
    return list;
}

QWidget* CreateComboBox(const DialogControlTemplate& control, QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->setEditable((control.style & 0x03) == CBS_DROPDOWN);
    combo->setInsertPolicy(QComboBox::NoInsert);
    return combo;
}

QWidget* CreateControl(const DialogControlTemplate& control, QWidget* parent, int height)
{
    switch (control.kind) {
    case ControlKind::PushButton:
        return CreatePushButton(control, parent);
    case ControlKind::CheckBox:
        return CreateCheckBox(control, parent);
    case ControlKind::GroupBox:
        return CreateGroupBox(control, parent);
    case ControlKind::Static:
        return CreateStatic(control, parent, height);
    case ControlKind::Icon:
        return CreateIcon(control, parent);
    case ControlKind::Edit:
        return CreateEdit(control, parent);
    case ControlKind::ListBox:
        return CreateListBox(control, parent);
    case ControlKind::ComboBox:
        return CreateComboBox(control, parent);
    case ControlKind::IpAddress:
        return new IpAddressWidget(parent);
    }
    return nullptr;
}

bool TakesFocus(ControlKind kind)
{
    return kind != ControlKind::GroupBox && kind != ControlKind::Static && kind != ControlKind::Icon;
}

// Names for a screen reader: each control without a text of its own is called by its label
// and tied to it; an IP-address control's fields are called by their place in it; an icon
// by the program's name.
void NameControls(const DialogTemplate& dialog, const std::vector<QWidget*>& widgets)
{
    const std::vector<ControlLabel> labels = LabelControls(dialog);
    for (std::size_t i = 0; i < widgets.size(); ++i) {
        QWidget* widget = widgets[i];
        if (dialog.controls[i].kind == ControlKind::Icon) {
            widget->setAccessibleName(FromUtf8(AfxGetAppName()));
            continue;
        }
        if (labels[i].name.empty())
            continue;
        const QString name = FromUtf8(labels[i].name.c_str());
        widget->setAccessibleName(name);
        if (labels[i].labelIndex >= 0) {
            // Qt ties a label to its buddy; it would also take a '&' in the label's text as a
            // shortcut of its own and hide it, so such a label stays untied (SetStaticText).
            auto* label = qobject_cast<QLabel*>(widgets[std::size_t(labels[i].labelIndex)]);
            if (label != nullptr && !label->text().contains(u'&'))
                label->setBuddy(widget);
        }
        if (auto* address = qobject_cast<IpAddressWidget*>(widget)) {
            for (int field = 0; field < IpAddressWidget::kFields; ++field)
                address->Field(field)->setAccessibleName(QStringLiteral("%1, field %2").arg(name).arg(field + 1));
        }
    }
}

} // namespace

QFont DialogFont(const char* face, int pointSize)
{
    QStringList families;
    if (face != nullptr && *face != '\0') {
        families << FromUtf8(face);
        for (const FontFallback& fallback : FontFallbacks()) {
            if (std::strcmp(fallback.face, face) == 0) {
                for (const char* standIn : fallback.standIns)
                    families << FromUtf8(standIn);
            }
        }
    }
    QFont font;
    if (!families.isEmpty())
        font.setFamilies(families);
    if (pointSize > 0)
        font.setPointSize(pointSize);
    return font;
}

QSize DialogBaseUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return QSize((width / 26 + 1) / 2, metrics.height());
}

QRect MapDialogRect(const QSize& baseUnits, int x, int y, int cx, int cy)
{
    const int left = MulDiv(x, baseUnits.width(), 4);
    const int top = MulDiv(y, baseUnits.height(), 8);
    const int right = MulDiv(x + cx, baseUnits.width(), 4);
    const int bottom = MulDiv(y + cy, baseUnits.height(), 8);
    return QRect(left, top, right - left, bottom - top);
}

DialogWidget* BuildDialogWindow(const DialogTemplate& dialog, CDialog* owner, QWidget* parent)
{
    static const bool accessibleDialogs = (QAccessible::installFactory(&DialogAccessibleFactory), true);
    Q_UNUSED(accessibleDialogs);
    auto* window = new DialogWidget(owner, parent);
    window->setObjectName(QStringLiteral("dialog%1").arg(dialog.id));
    // A dialog shown on the taskbar is an ordinary top-level window to the desktop; the others
    // stay dialogs, which the desktop may keep off its taskbar and window list.
    Qt::WindowFlags flags = (Has(dialog.exStyle, WS_EX_APPWINDOW) ? Qt::Window : Qt::Dialog) | Qt::CustomizeWindowHint;
    if (Has(dialog.style, WS_CAPTION))
        flags |= Qt::WindowTitleHint;
    if (Has(dialog.style, WS_SYSMENU))
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    window->setWindowFlags(flags);
    window->setWindowTitle(FromUtf8(dialog.caption));
    window->setFont(DialogFont(dialog.fontFace, dialog.pointSize));

    const QSize base = DialogBaseUnits(window->font());
    window->setFixedSize(MapDialogRect(base, 0, 0, dialog.cx, dialog.cy).size());

    std::vector<QWidget*> widgets;
    std::vector<QWidget*> tabStops;
    std::vector<QWidget*> groups;
    for (const DialogControlTemplate& control : dialog.controls) {
        const QRect rect = MapDialogRect(base, control.x, control.y, control.cx, control.cy);
        QWidget* widget = CreateControl(control, window, rect.height());
        widgets.push_back(widget);
        widget->setObjectName(FromUtf8(control.objectName));
        MarkControlWindow(widget, control.id);
        if (control.kind == ControlKind::Icon) {
            const int size = GetSystemMetrics(SM_CXICON);
            widget->setGeometry(rect.x(), rect.y(), size, size);
        } else if (control.kind == ControlKind::ComboBox) {
            // The template's height includes the drop-down list.
            widget->setGeometry(rect.x(), rect.y(), rect.width(), std::min(rect.height(), widget->sizeHint().height()));
        } else if (control.kind == ControlKind::Static && !static_cast<QLabel*>(widget)->wordWrap()) {
            // The substitute fonts are wider than the designed one: a one-line label keeps its
            // place but grows to show its whole text rather than clip it.
            widget->setGeometry(rect.x(), rect.y(), std::max(rect.width(), widget->sizeHint().width()), rect.height());
        } else {
            widget->setGeometry(rect);
        }
        const bool tabStop = Has(control.style, WS_TABSTOP);
        if (auto* address = qobject_cast<IpAddressWidget*>(widget))
            address->SetTabStop(tabStop);
        else if (!TakesFocus(control.kind))
            widget->setFocusPolicy(Qt::NoFocus);
        else
            widget->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
        if (tabStop && TakesFocus(control.kind))
            tabStops.push_back(widget);
        if (control.kind == ControlKind::GroupBox)
            groups.push_back(widget);
        widget->setEnabled(!Has(control.style, WS_DISABLED));
        widget->setVisible(Has(control.style, WS_VISIBLE));
    }
    for (QWidget* group : groups)
        group->lower();
    NameControls(dialog, widgets);
    window->SetTabStops(std::move(tabStops));
    return window;
}
