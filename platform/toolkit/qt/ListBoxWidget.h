#pragma once

#include <QListWidget>

// A single-selection list box. As on the platform, the user's selecting notifies the dialog
// with LBN_SELCHANGE (with LBS_NOTIFY): a click on an entry when the button comes up, a
// navigation key, a key that moves the selection; the selection may be the same entry as
// before. Changes the program makes through the wrapper notify nothing. The user cannot
// clear the selection.
class ListBoxWidget : public QListWidget {
    Q_OBJECT

public:
    ListBoxWidget(QWidget* parent, bool notify, bool sorted);

    // Where an entry keeps the bytes it was given, beside the text it shows.
    static constexpr int kEntryBytesRole = Qt::UserRole;

    // Returns the entry's row.
    int AddEntry(const QString& text, const QByteArray& bytes);
    // Entries left, or -1 for an index out of range.
    int DeleteEntry(int index);
    void Clear();
    // -1 when nothing is selected.
    int Selected() const;
    // -1 clears; returns false for an index out of range.
    bool Select(int index);

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnSelectionChanged();
    void NotifySelection();

    bool m_notify;
    bool m_sorted;
    int m_programChanges = 0;
    bool m_pressedOnEntry = false;
    bool m_changedByKey = false;
};
