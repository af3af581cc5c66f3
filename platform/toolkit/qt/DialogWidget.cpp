#include "platform/toolkit/qt/DialogWidget.h"

#include "platform/toolkit/CDialog.h"
#include "platform/toolkit/CMenu.h"
#include "platform/toolkit/qt/QtHandles.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>

DialogWidget::DialogWidget(CDialog* owner, QWidget* parent)
    : QDialog(parent), m_owner(owner), m_systemMenu(new QMenu(this))
{
    m_systemMenu->setObjectName(QStringLiteral("systemMenu"));
}

void DialogWidget::SetTabStops(std::vector<QWidget*> tabStops)
{
    m_tabStops.assign(tabStops.begin(), tabStops.end());
}

void DialogWidget::FocusFirstTabStop()
{
    for (const QPointer<QWidget>& control : m_tabStops) {
        if (control && control->isVisibleTo(this) && control->isEnabled()) {
            control->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void DialogWidget::ShowSystemMenu(const QPoint& globalPos)
{
    if (m_owner == nullptr)
        return;
    const CMenu* menu = m_owner->GetSystemMenu(FALSE);
    m_systemMenu->clear();
    for (const HMENU__::Item& item : menu->m_hMenu->items) {
        if (item.flags & MF_SEPARATOR) {
            m_systemMenu->addSeparator();
            continue;
        }
        QAction* action = m_systemMenu->addAction(QString::fromStdString(item.text));
        action->setEnabled((item.flags & MF_GRAYED) == 0);
        const UINT_PTR id = item.id;
        // The command runs once the menu has closed, as the platform delivers it.
        connect(action, &QAction::triggered, this, [this, id] {
            QMetaObject::invokeMethod(
                this,
                [this, id] {
                    if (m_owner)
                        m_owner->SendMessage(WM_SYSCOMMAND, id, 0);
                },
                Qt::QueuedConnection);
        });
    }
    m_systemMenu->popup(globalPos);
}

void DialogWidget::reject()
{
    SendCommand(IDCANCEL);
}

void DialogWidget::closeEvent(QCloseEvent* event)
{
    if (m_owner == nullptr) {
        QDialog::closeEvent(event);
        return;
    }
    // The window closes only when the program ends the dialog.
    event->ignore();
    m_owner->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
}

void DialogWidget::keyPressEvent(QKeyEvent* event)
{
    const bool plain = event->modifiers() == Qt::NoModifier
        || (event->modifiers() == Qt::KeypadModifier && event->key() == Qt::Key_Enter);
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        // A focused push button is the default one while it has the focus.
        if (auto* focused = qobject_cast<QPushButton*>(focusWidget()); focused && focused->isEnabled()) {
            focused->click();
            return;
        }
        for (QPushButton* button : findChildren<QPushButton*>()) {
            if (button->isDefault() && button->isVisibleTo(this)) {
                if (button->isEnabled())
                    button->click();
                return;
            }
        }
        SendCommand(IDOK);
        return;
    }
    if (plain && event->key() == Qt::Key_Escape) {
        SendCommand(IDCANCEL);
        return;
    }
    QWidget::keyPressEvent(event);
}

void DialogWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        ShowSystemMenu(event->globalPosition().toPoint());
        return;
    }
    QDialog::mousePressEvent(event);
}

void DialogWidget::paintEvent(QPaintEvent* event)
{
    if (m_owner)
        m_owner->SendMessage(WM_PAINT);
    else
        QDialog::paintEvent(event);
}

void DialogWidget::SendCommand(int id)
{
    if (m_owner)
        m_owner->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<unsigned>(id), BN_CLICKED), 0);
}
