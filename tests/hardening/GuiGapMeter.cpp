#include "GuiGapMeter.h"

#include <algorithm>

namespace {

constexpr int kIntervalMs = 5;

}  // namespace

GuiGapMeter::GuiGapMeter()
{
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(kIntervalMs);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        ++m_ticks;
        m_longestGapMs = std::max(m_longestGapMs, m_sinceLastTick.restart());
    });
    m_sinceLastTick.start();
    m_timer.start();
}
