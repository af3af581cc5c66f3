#include "tests/support/TraceCapture.h"

#include <windows.h>

TraceCapture* TraceCapture::s_current = nullptr;

namespace {

// OutputDebugStringA raises these for a debugger; handled here, the string goes nowhere else.
constexpr DWORD kDebugString = 0x40010006;      // DBG_PRINTEXCEPTION_C: length, text
constexpr DWORD kDebugStringWide = 0x4001000A;  // DBG_PRINTEXCEPTION_WIDE_C: then length, text

} // namespace

struct TraceSink {
    static LONG CALLBACK Collect(EXCEPTION_POINTERS* pointers)
    {
        const EXCEPTION_RECORD& record = *pointers->ExceptionRecord;
        const bool narrow = record.ExceptionCode == kDebugString && record.NumberParameters >= 2;
        const bool wide = record.ExceptionCode == kDebugStringWide && record.NumberParameters >= 4;
        if (!narrow && !wide)
            return EXCEPTION_CONTINUE_SEARCH;
        const ULONG_PTR* text = record.ExceptionInformation + (wide ? 2 : 0);
        if (TraceCapture::s_current && text[0] > 0)
            TraceCapture::s_current->m_lines.emplace_back(reinterpret_cast<const char*>(text[1]), text[0] - 1);
        return EXCEPTION_CONTINUE_EXECUTION;
    }
};

TraceCapture::TraceCapture()
{
    s_current = this;
    m_previous = ::AddVectoredExceptionHandler(1, &TraceSink::Collect);
}

TraceCapture::~TraceCapture()
{
    ::RemoveVectoredExceptionHandler(m_previous);
    s_current = nullptr;
}
