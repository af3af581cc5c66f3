#include "cli/ProgressBar.h"

#include <cstdio>

namespace {

constexpr int kBarWidth = 30;
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

std::string Rate(double bytesPerSecond)
{
    char text[32];
    if (bytesPerSecond >= 1e6)
        std::snprintf(text, sizeof text, "%.1f MB/s", bytesPerSecond / 1e6);
    else
        std::snprintf(text, sizeof text, "%.1f kB/s", bytesPerSecond / 1e3);
    return text;
}

} // namespace

std::string ProgressLine(std::size_t sent, std::size_t total, double seconds)
{
    const double fraction = total == 0 ? 1.0 : static_cast<double>(sent) / static_cast<double>(total);
    const int filled = static_cast<int>(fraction * kBarWidth);
    std::string bar = "[" + std::string(static_cast<std::size_t>(filled), '#') +
                      std::string(static_cast<std::size_t>(kBarWidth - filled), ' ') + "]";
    char numbers[96];
    std::snprintf(numbers, sizeof numbers, " %3d%%  %zu/%zu bytes  ", static_cast<int>(fraction * 100), sent, total);
    return bar + numbers + Rate(seconds > 0 ? static_cast<double>(sent) / seconds : 0.0);
}

ProgressBar::ProgressBar(std::ostream& err, std::size_t total)
    : m_err(err), m_total(total), m_start(std::chrono::steady_clock::now())
{
}

void ProgressBar::Update(std::size_t sent)
{
    using namespace std::chrono;
    const auto now = steady_clock::now();
    if (m_drawn && sent < m_total && now - m_lastDraw < kRedrawInterval)
        return;
    m_lastDraw = now;
    m_drawn = true;
    // "\r" and clear-to-end-of-line redraw the bar in place.
    m_err << '\r' << ProgressLine(sent, m_total, duration<double>(now - m_start).count()) << "\x1b[K" << std::flush;
}

void ProgressBar::Finish()
{
    if (m_drawn)
        m_err << '\n';
}
