#pragma once
// The Qt window of a CDialog. Window-manager requests (close box, Alt+F4, Esc) become the
// dialog's commands instead of closing the window behind the program's back.

#include <QDialog>
#include <QPointer>

#include <vector>

class CDialog;
class QMenu;

class DialogWidget : public QDialog {
    Q_OBJECT

public:
    DialogWidget(CDialog* owner, QWidget* parent);

    CDialog* Owner() const { return m_owner; }
    // The dialog object is going away; the window no longer reports to it.
    void ClearOwner() { m_owner = nullptr; }

    // Controls with a tab stop, in template order.
    void SetTabStops(std::vector<QWidget*> tabStops);
    // Gives the focus to the first tab stop that is visible and enabled.
    void FocusFirstTabStop();
    // Pops up the system menu (objectName "systemMenu") at a global position.
    void ShowSystemMenu(const QPoint& globalPos);

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void SendCommand(int id);

    CDialog* m_owner;
    std::vector<QPointer<QWidget>> m_tabStops;
    QMenu* m_systemMenu;
};
