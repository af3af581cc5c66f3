// The program's own main (the same application object and start-up), plus a probe that
// reports the first expose of its main dialog and ends the process there. Started by
// bench_startup; with a path argument it also writes the dialog's layout for the bare one.
#include "app/CConfigApp.h"
#include "bench/StartupProbe.h"

#include <QCoreApplication>

CConfigApp theApp;

namespace {

const char* g_layoutPath = nullptr;

void OnExposed(QWidget* window, long long ns)
{
    startup::ReportAndExit(window, ns, g_layoutPath);
}

void InstallProbe()
{
    startup::WatchFirstExpose(&OnExposed);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallProbe)

int main(int argc, char** argv)
{
    if (argc > 1)
        g_layoutPath = argv[1];
    return AfxWinMain(1, argv);
}
