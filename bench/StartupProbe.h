#pragma once
// Shared by the two start-up children: the moment a window is first exposed, and the
// layout of the exposed dialog's controls, so a bare Qt dialog can be built to match.

#include <QJsonArray>

class QWidget;

namespace startup {

/// CLOCK_MONOTONIC in nanoseconds: the same clock in the parent and in every child.
long long MonotonicNs();

/// Calls onExposed(widget, ns) once, for the first top-level widget whose window is exposed.
/// Install after the application object exists.
void WatchFirstExpose(void (*onExposed)(QWidget* window, long long ns));

/// The controls under window as JSON: kind, parent, geometry, visibility, text and items.
QJsonArray DescribeControls(QWidget* window);

/// Prints "exposed_ns=<ns>" and, when layoutPath is set, writes the window's size, font and
/// controls there; then ends the process at once (tear-down is not part of start-up).
[[noreturn]] void ReportAndExit(QWidget* window, long long ns, const char* layoutPath);

}  // namespace startup
