#pragma once
// Collects the trace lines (OutputDebugStringA) written while it lives, each exactly as
// written: the Qt backend's logging category on Linux, the system's debug-string exception
// on Windows.

#include <string>
#include <vector>

class TraceCapture {
public:
    TraceCapture();
    ~TraceCapture();
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    const std::vector<std::string>& Lines() const { return m_lines; }

private:
    static TraceCapture* s_current;
    std::vector<std::string> m_lines;
    void* m_previous = nullptr;  // the backend's hook, undone at the end

    friend struct TraceSink;
};
