#pragma once

#include <QGroupBox>

// A group box drawn as the platform draws one: an etched frame whose top line runs through
// the middle of the title, the title cut into the line near its left end. With the
// right-aligned extended style the title sits near the right end instead, but only under a
// right-to-left layout, where the platform honours that style.
class GroupBoxWidget : public QGroupBox {
    Q_OBJECT

public:
    GroupBoxWidget(const QString& title, bool rightAligned, QWidget* parent);

    // Where the title is drawn, in the widget's coordinates.
    QRect TitleRect() const;
    // The row of the frame's top line.
    int FrameTop() const;

    // The platform's space between the frame's end and the title.
    static constexpr int kTitleIndent = 7;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_rightAligned;
};
