#pragma once

#include "platform/toolkit/WinUser.h"

#include <QFrame>

#include <array>

class IpAddressField;

// The IP-address control: four fields of 0 to 255, each of which may be blank. As a whole
// it is one tab stop; the Tab key enters it at the first field.
class IpAddressWidget : public QFrame {
    Q_OBJECT

public:
    static constexpr int kFields = 4;

    explicit IpAddressWidget(QWidget* parent);

    bool IsBlank() const;
    void Clear();
    // First field in the most significant byte; blank fields read 0. Returns the number
    // of fields that are not blank.
    int Address(DWORD& address) const;
    void SetAddress(DWORD address);
    // "a.b.c.d", blank fields as 0.
    QString Text() const;
    // Reads "a.b.c.d"; missing or empty parts become blank fields.
    void SetText(const QString& text);
    void SetTabStop(bool tabStop);

    // The control's own messages (IPM_*). False for any other message.
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    IpAddressField* Field(int index) const { return m_fields[static_cast<std::size_t>(index)]; }
    // Moves the focus into field index, selecting its text or placing the caret.
    void EnterField(int index, bool selectAll, bool caretAtEnd);

private:
    std::array<IpAddressField*, kFields> m_fields{};
};
