#pragma once

#include <QLineEdit>

class IpAddressWidget;

// One of the four fields of the IP-address control: up to three digits; '.' or a third
// digit moves on to the next field; Backspace or Left at the start moves back, Right at
// the end moves on. A value over 255 becomes 255.
class IpAddressField : public QLineEdit {
    Q_OBJECT

public:
    IpAddressField(IpAddressWidget* owner, int index);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // Tab leaves the control as a whole instead of walking through its fields.
    bool focusNextPrevChild(bool next) override;

private:
    void CorrectValue();

    IpAddressWidget* m_owner;
    int m_index;
};
