// One firmware download by the dialog's own code, timed and measured: Browse loads the
// image, Start Update sends it to the device on 127.0.0.1, the verdict box ends the run.
// Prints one line: load, start and rest in ms, total ms, the page faults the load took,
// idle and peak memory in KiB.
//
//   bench_download <image path> <device download port>
#include <QAbstractButton>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

#include "platform/toolkit/CFileDialog.h"
#include "platform/toolkit/CWinApp.h"
#include "platform/toolkit/MessageBox.h"
#include "platform/toolkit/qt/PlatformApplication.h"
#include "ui/CConfigDlg.h"
#include "ui/Resource.h"
#include "ui/Resources.h"

namespace {

constexpr int kVerdictTimeoutMs = 600000;
// Lets the shown dialog finish painting and settle before its idle footprint is taken.
constexpr int kSettleMs = 500;

// "VmHWM" (peak) or "VmRSS" (now) of this process, in KiB. Read into the stack with plain
// calls: a stream's buffer and locale would count in the peak they measure.
long MemoryKiB(const char* field)
{
    char text[8192];
    const int fd = ::open("/proc/self/status", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    const ssize_t size = ::read(fd, text, sizeof text - 1);
    ::close(fd);
    if (size <= 0)
        return -1;
    text[size] = '\0';
    char key[32];
    std::snprintf(key, sizeof key, "\n%s:", field);
    const char* found = std::strstr(text, key);
    return found ? std::strtol(found + std::strlen(key), nullptr, 10) : -1;
}

long MinorFaults()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

void Click(QWidget* window, const char* name)
{
    if (auto* button = window->findChild<QAbstractButton*>(name))
        button->click();
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    PlatformApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <image path> <device download port>\n", argv[0]);
        return 2;
    }
    const std::string imagePath = argv[1];
    NetworkSettings network;
    network.downloadPort = static_cast<unsigned>(std::stoul(argv[2]));

    CWinApp app;
    RegisterResources();
    CConfigDlg dlg(nullptr, network);
    if (!dlg.Create(IDD_CONFIG_DIALOG, nullptr))
        return 1;
    auto* window = reinterpret_cast<QWidget*>(dlg.GetSafeHwnd());
    window->show();
    if (!QTest::qWaitForWindowExposed(window))
        return 1;
    dlg.m_ctlUpdateIp.SetAddress(127, 0, 0, 1);
    QTest::qWait(kSettleMs);

    QEventLoop waitForVerdict;
    std::string verdict;
    SetFileDialogHook([&](const FileDialogRequest&) { return std::optional<std::string>(imagePath); });
    SetMessageBoxHook([&](const MessageBoxRequest& box) {
        verdict = box.text;
        QMetaObject::invokeMethod(&waitForVerdict, &QEventLoop::quit, Qt::QueuedConnection);
        return IDOK;
    });

    const long idleKiB = MemoryKiB("VmHWM");
    QElapsedTimer clock;
    const long faultsBefore = MinorFaults();
    clock.start();
    Click(window, "browseButton");
    const qint64 loaded = clock.nsecsElapsed();
    const long loadFaults = MinorFaults() - faultsBefore;
    if (!verdict.empty() || dlg.m_nImageLength == 0) {
        std::fprintf(stderr, "load failed: %s\n", verdict.c_str());
        return 1;
    }
    Click(window, "startUpdateButton");
    const qint64 started = clock.nsecsElapsed();
    QTimer::singleShot(kVerdictTimeoutMs, &waitForVerdict, &QEventLoop::quit);
    if (verdict.empty())
        waitForVerdict.exec();
    const qint64 ended = clock.nsecsElapsed();
    const long peakKiB = MemoryKiB("VmHWM");

    SetMessageBoxHook({});
    SetFileDialogHook({});
    dlg.DestroyWindow();

    std::printf("load_ms=%.2f start_ms=%.2f rest_ms=%.2f total_ms=%.2f load_faults=%ld idle_kib=%ld peak_kib=%ld "
                "verdict=\"%s\"\n",
                loaded / 1e6, (started - loaded) / 1e6, (ended - started) / 1e6, ended / 1e6, loadFaults, idleKiB,
                peakKiB, verdict.c_str());
    return verdict == "Success Program Download!" ? 0 : 1;
}
