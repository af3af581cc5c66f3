#pragma once
// A timer on the GUI thread that fires every few milliseconds and remembers the longest
// time between two of its firings: how long the event loop was kept from it.

#include <QElapsedTimer>
#include <QTimer>

class GuiGapMeter {
public:
    GuiGapMeter();

    int Ticks() const { return m_ticks; }
    qint64 LongestGapMs() const { return m_longestGapMs; }

private:
    QTimer m_timer;
    QElapsedTimer m_sinceLastTick;
    int m_ticks = 0;
    qint64 m_longestGapMs = 0;
};
