#include "platform/toolkit/qt/GroupBoxWidget.h"

#include <QPainter>
#include <QStyle>
#include <qdrawutil.h>

GroupBoxWidget::GroupBoxWidget(const QString& title, bool rightAligned, QWidget* parent)
    : QGroupBox(title, parent), m_rightAligned(rightAligned)
{
}

QRect GroupBoxWidget::TitleRect() const
{
    const QString text = title();
    if (text.isEmpty())
        return QRect();
    const QSize size = fontMetrics().size(Qt::TextShowMnemonic, text);
    const bool right = m_rightAligned && layoutDirection() == Qt::RightToLeft;
    const int x = right ? width() - kTitleIndent - size.width() : kTitleIndent;
    return QRect(QPoint(x, 0), size);
}

int GroupBoxWidget::FrameTop() const
{
    return fontMetrics().height() / 2 - 1;
}

void GroupBoxWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int top = FrameTop();
    qDrawShadeRect(&painter, QRect(0, top, width(), height() - top), palette(), true, 1);

    const QRect titleRect = TitleRect();
    if (titleRect.isEmpty())
        return;
    // The title's background interrupts the frame line, with a pixel to spare on each side.
    painter.fillRect(titleRect.adjusted(-1, 0, 1, 0), palette().brush(backgroundRole()));
    style()->drawItemText(&painter, titleRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic, palette(),
                          isEnabled(), title(), QPalette::WindowText);
}
