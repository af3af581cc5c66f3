// Search replies handled per second by a running main dialog (offscreen) when 100, 1,000
// and 5,000 simulated devices answer one search in a single burst, how many of them reach
// the device list, and how often the list was painted meanwhile. Goal: at least 50,000
// replies/s at 1,000 and at 5,000 devices, every device listed. Time is manual: from the
// click on Search to the last device listed, so devsim's own sending is inside it; the CPU
// column is the dialog's process alone.
#include "platform/toolkit/CWinApp.h"
#include "platform/toolkit/qt/PlatformApplication.h"
#include "tests/devsim/DevsimProcess.h"
#include "ui/CConfigDlg.h"
#include "ui/Resource.h"
#include "ui/Resources.h"

#include <QAbstractItemView>
#include <QElapsedTimer>
#include <QEvent>
#include <QHostAddress>
#include <QTest>
#include <QUdpSocket>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// A burst is over when every device is listed, or when nothing new came for this long.
constexpr qint64 kQuietMs = 500;
constexpr qint64 kDeadlineMs = 60000;

// Counts the paints of a widget.
class PaintCounter : public QObject {
public:
    std::int64_t paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

quint16 FreeUdpPort()
{
    QUdpSocket probe;
    probe.bind(QHostAddress::AnyIPv4, 0, QAbstractSocket::DontShareAddress);
    return probe.localPort();
}

void BM_SearchBurst(benchmark::State& state)
{
    const int devices = static_cast<int>(state.range(0));
    DevsimProcess devsim({"--devices", QString::number(devices), "--quiet"});
    if (!devsim.isReady()) {
        state.SkipWithError(devsim.errorText().toStdString().c_str());
        return;
    }
    NetworkSettings network;
    network.localUdpPort = FreeUdpPort();
    network.udpDestination = "127.0.0.1";
    network.remoteUdpPort = devsim.udpPort();
    auto dialog = std::make_unique<CConfigDlg>(nullptr, network);
    dialog->Create(IDD_CONFIG_DIALOG, nullptr);
    auto* window = reinterpret_cast<QWidget*>(dialog->GetSafeHwnd());
    QWidget* search = window->findChild<QWidget*>("searchButton");
    PaintCounter listPaints;
    window->findChild<QAbstractItemView*>("deviceList")->viewport()->installEventFilter(&listPaints);

    std::int64_t listedTotal = 0;
    std::int64_t paintsDuringBursts = 0;
    for (auto _ : state) {
        const std::int64_t paintsBefore = listPaints.paints;
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(search, Qt::LeftButton);
        int listed = 0;
        qint64 lastArrivalNs = 0;
        while (listed < devices && clock.nsecsElapsed() - lastArrivalNs < kQuietMs * 1000000
               && clock.elapsed() < kDeadlineMs) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            const int now = dialog->m_ctlDeviceList.GetCount();
            if (now != listed) {
                listed = now;
                lastArrivalNs = clock.nsecsElapsed();
            }
        }
        // From the click to the last device listed: devsim's answer and the dialog's work.
        state.SetIterationTime(static_cast<double>(lastArrivalNs) / 1e9);
        listedTotal += listed;
        paintsDuringBursts += listPaints.paints - paintsBefore;
    }
    state.counters["listed"] = benchmark::Counter(static_cast<double>(listedTotal), benchmark::Counter::kAvgIterations);
    state.counters["list paints"] =
        benchmark::Counter(static_cast<double>(paintsDuringBursts), benchmark::Counter::kAvgIterations);
    state.counters["replies/s"] = benchmark::Counter(static_cast<double>(listedTotal), benchmark::Counter::kIsRate);
    dialog->DestroyWindow();
}

BENCHMARK(BM_SearchBurst)->Arg(100)->Arg(1000)->Arg(5000)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    PlatformApplication application(argc, argv);
    CWinApp app;
    RegisterResources();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
