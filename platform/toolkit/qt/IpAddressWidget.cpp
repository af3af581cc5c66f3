#include "platform/toolkit/qt/IpAddressWidget.h"

#include "platform/toolkit/qt/IpAddressField.h"

#include <QHBoxLayout>
#include <QLabel>

#include <charconv>

IpAddressWidget::IpAddressWidget(QWidget* parent) : QFrame(parent)
{
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    for (int i = 0; i < kFields; ++i) {
        if (i > 0) {
            auto* dot = new QLabel(QStringLiteral("."), this);
            dot->setAlignment(Qt::AlignCenter);
            layout->addWidget(dot);
        }
        m_fields[static_cast<std::size_t>(i)] = new IpAddressField(this, i);
        m_fields[static_cast<std::size_t>(i)]->setFocusPolicy(Qt::ClickFocus);
        layout->addWidget(m_fields[static_cast<std::size_t>(i)], 1);
    }
    SetTabStop(true);
}

bool IpAddressWidget::IsBlank() const
{
    for (const IpAddressField* field : m_fields) {
        if (!field->text().isEmpty())
            return false;
    }
    return true;
}

void IpAddressWidget::Clear()
{
    for (IpAddressField* field : m_fields)
        field->clear();
}

int IpAddressWidget::Address(DWORD& address) const
{
    int filled = 0;
    address = 0;
    for (const IpAddressField* field : m_fields) {
        const bool blank = field->text().isEmpty();
        const DWORD value = blank ? 0 : static_cast<DWORD>(std::min(field->text().toInt(), 255));
        address = (address << 8) | value;
        if (!blank)
            ++filled;
    }
    return filled;
}

void IpAddressWidget::SetAddress(DWORD address)
{
    for (int i = 0; i < kFields; ++i) {
        const DWORD value = (address >> (8 * (kFields - 1 - i))) & 0xFFu;
        char digits[3];
        const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        const QLatin1StringView text(digits, end);
        IpAddressField* field = m_fields[static_cast<std::size_t>(i)];
        // Setting a field to the text it shows would still redo its layout and repaint it;
        // mask and gateway rarely differ from one device to the next.
        if (field->text() != text)
            field->setText(text);
    }
}

QString IpAddressWidget::Text() const
{
    DWORD address = 0;
    Address(address);
    return QStringLiteral("%1.%2.%3.%4")
        .arg(HIBYTE(HIWORD(address)))
        .arg(LOBYTE(HIWORD(address)))
        .arg(HIBYTE(LOWORD(address)))
        .arg(LOBYTE(LOWORD(address)));
}

void IpAddressWidget::SetText(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    for (int i = 0; i < kFields; ++i) {
        QString part = i < parts.size() ? parts.at(i).trimmed() : QString();
        bool ok = false;
        const int value = part.toInt(&ok);
        if (!ok || value < 0)
            part.clear();
        else
            part = QString::number(std::min(value, 255));
        m_fields[static_cast<std::size_t>(i)]->setText(part);
    }
}

void IpAddressWidget::SetTabStop(bool tabStop)
{
    m_fields[0]->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
    setFocusProxy(m_fields[0]);
}

bool IpAddressWidget::HandleMessage(UINT message, WPARAM, LPARAM lParam, LRESULT* result)
{
    switch (message) {
    case IPM_CLEARADDRESS:
        Clear();
        *result = 0;
        return true;
    case IPM_SETADDRESS:
        SetAddress(static_cast<DWORD>(lParam));
        *result = TRUE;
        return true;
    case IPM_GETADDRESS: {
        DWORD address = 0;
        *result = Address(address);
        if (lParam != 0)
            *reinterpret_cast<DWORD*>(lParam) = address;
        return true;
    }
    case IPM_ISBLANK:
        *result = IsBlank() ? TRUE : FALSE;
        return true;
    default:
        return false;
    }
}

void IpAddressWidget::EnterField(int index, bool selectAll, bool caretAtEnd)
{
    IpAddressField* field = m_fields[static_cast<std::size_t>(index)];
    field->setFocus(Qt::OtherFocusReason);
    if (selectAll)
        field->selectAll();
    else
        field->setCursorPosition(caretAtEnd ? static_cast<int>(field->text().size()) : 0);
}
