#pragma once

#include <QListWidget>

// A single-selection list box. Only a selection the user makes (mouse or keyboard)
// notifies the dialog with LBN_SELCHANGE, and only with LBS_NOTIFY; changes the program
// makes through the wrapper notify nothing. The user cannot clear the selection.
class ListBoxWidget : public QListWidget {
    Q_OBJECT

public:
    ListBoxWidget(QWidget* parent, bool notify, bool sorted);

    int AddEntry(const QString& text);
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

private:
    void OnSelectionChanged();

    bool m_notify;
    bool m_sorted;
    int m_programChanges = 0;
};
