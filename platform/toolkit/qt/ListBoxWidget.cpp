#include "platform/toolkit/qt/ListBoxWidget.h"

#include "platform/toolkit/qt/ControlWindow.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>

ListBoxWidget::ListBoxWidget(QWidget* parent, bool notify, bool sorted)
    : QListWidget(parent), m_notify(notify), m_sorted(sorted)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ListBoxWidget::OnSelectionChanged);
}

int ListBoxWidget::AddEntry(const QString& text, const QByteArray& bytes)
{
    QScopedValueRollback guard(m_programChanges, m_programChanges + 1);
    int row = count();
    if (m_sorted) {
        row = 0;
        while (row < count() && item(row)->text().compare(text, Qt::CaseInsensitive) <= 0)
            ++row;
    }
    // Complete before it is inserted: the view then hears of it once, not again for its data.
    auto* entry = new QListWidgetItem(text);
    entry->setData(kEntryBytesRole, bytes);
    insertItem(row, entry);
    return row;
}

int ListBoxWidget::DeleteEntry(int index)
{
    if (index < 0 || index >= count())
        return -1;
    QScopedValueRollback guard(m_programChanges, m_programChanges + 1);
    const bool wasSelected = Selected() == index;
    delete takeItem(index);
    // Qt moves the selection to a neighbour; the deleted entry's selection goes with it.
    if (wasSelected)
        selectionModel()->clearSelection();
    return count();
}

void ListBoxWidget::Clear()
{
    QScopedValueRollback guard(m_programChanges, m_programChanges + 1);
    clear();
}

int ListBoxWidget::Selected() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

bool ListBoxWidget::Select(int index)
{
    if (index < -1 || index >= count())
        return false;
    QScopedValueRollback guard(m_programChanges, m_programChanges + 1);
    setCurrentRow(index);
    return index >= 0;
}

QItemSelectionModel::SelectionFlags ListBoxWidget::selectionCommand(const QModelIndex& index,
                                                                    const QEvent* event) const
{
    if (!index.isValid())
        return QItemSelectionModel::NoUpdate;
    const QItemSelectionModel::SelectionFlags flags = QListWidget::selectionCommand(index, event);
    // Ctrl+click and Ctrl+Space would deselect; a single-selection list box keeps one.
    if (flags & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle))
        return QItemSelectionModel::ClearAndSelect;
    return flags;
}

void ListBoxWidget::mousePressEvent(QMouseEvent* event)
{
    m_pressedOnEntry = event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid();
    QListWidget::mousePressEvent(event);
}

void ListBoxWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    m_pressedOnEntry = event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid();
    QListWidget::mouseDoubleClickEvent(event);
}

void ListBoxWidget::mouseReleaseEvent(QMouseEvent* event)
{
    QListWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && m_pressedOnEntry) {
        m_pressedOnEntry = false;
        NotifySelection();
    }
}

void ListBoxWidget::keyPressEvent(QKeyEvent* event)
{
    m_changedByKey = false;
    QListWidget::keyPressEvent(event);
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        if (count() > 0)
            NotifySelection();
        break;
    default:
        // Typing an entry's first letters selects it.
        if (m_changedByKey)
            NotifySelection();
        break;
    }
}

void ListBoxWidget::OnSelectionChanged()
{
    if (m_programChanges == 0)
        m_changedByKey = true;
}

void ListBoxWidget::NotifySelection()
{
    if (m_notify)
        NotifyParent(this, LBN_SELCHANGE);
}
