#pragma once
// The progress of an image send on a terminal: a bar, the percentage, the bytes and the rate,
// redrawn in place.

#include <chrono>
#include <cstddef>
#include <ostream>
#include <string>

/// One line of the bar for sent of total bytes after seconds.
std::string ProgressLine(std::size_t sent, std::size_t total, double seconds);

class ProgressBar {
public:
    ProgressBar(std::ostream& err, std::size_t total);
    /// Redraws at most ten times a second, and always for the last byte.
    void Update(std::size_t sent);
    /// Ends the bar's line, whether or not the send finished.
    void Finish();

private:
    std::ostream& m_err;
    std::size_t m_total;
    std::chrono::steady_clock::time_point m_start;
    std::chrono::steady_clock::time_point m_lastDraw;
    bool m_drawn = false;
};
