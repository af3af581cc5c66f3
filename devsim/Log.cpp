#include "devsim/Log.h"

#include <QString>

#include <cstdio>

namespace {

bool g_quiet = false;

} // namespace

void SetLogQuiet(bool quiet)
{
    g_quiet = quiet;
}

void LogLine(const QString& line)
{
    if (g_quiet)
        return;
    std::fprintf(stderr, "lanvista-devsim: %s\n", qPrintable(line));
    std::fflush(stderr);
}
