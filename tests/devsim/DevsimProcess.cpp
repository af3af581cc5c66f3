#include "tests/devsim/DevsimProcess.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

constexpr int kStopTimeoutMs = 5000;

} // namespace

DevsimProcess::DevsimProcess(const QStringList& arguments, int readyTimeoutMs)
{
    QStringList all = arguments;
    if (!all.contains(QStringLiteral("--udp-port")))
        all << QStringLiteral("--udp-port") << QStringLiteral("0");
    if (!all.contains(QStringLiteral("--tcp-port")))
        all << QStringLiteral("--tcp-port") << QStringLiteral("0");
    // Logs go straight to the test's stderr: nobody has to drain a pipe for devsim.
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const QString path = executablePath();
    m_process.start(path, all);
    if (!m_process.waitForStarted(readyTimeoutMs)) {
        m_error = QStringLiteral("cannot start %1: %2").arg(path, m_process.errorString());
        return;
    }
    WaitForReadyLine(readyTimeoutMs);
}

DevsimProcess::~DevsimProcess()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(kStopTimeoutMs)) {
        m_process.kill();
        m_process.waitForFinished(kStopTimeoutMs);
    }
}

QString DevsimProcess::executablePath()
{
    const QString fromEnvironment = qEnvironmentVariable("LANVISTA_DEVSIM");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    // Test binaries sit in <build>/tests/<folder>/; devsim in <build>/.
    const QDir here(QCoreApplication::applicationDirPath());
    const QStringList candidates{here.filePath(QStringLiteral("../../lanvista-devsim")),
                                 here.filePath(QStringLiteral("../lanvista-devsim"))};
    for (const QString& candidate : candidates)
        if (QFileInfo(candidate).isExecutable())
            return QDir::cleanPath(candidate);
    return QDir::cleanPath(candidates.first());
}

void DevsimProcess::WaitForReadyLine(int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!m_process.canReadLine() && m_process.state() == QProcess::Running) {
        const qint64 left = timeoutMs - clock.elapsed();
        if (left <= 0)
            break;
        m_process.waitForReadyRead(static_cast<int>(left));
    }
    if (!m_process.canReadLine()) {
        m_error = m_process.state() == QProcess::Running
                      ? QStringLiteral("no ready line within %1 ms").arg(timeoutMs)
                      : QStringLiteral("devsim exited with code %1 before it was ready (see its stderr)")
                            .arg(m_process.exitCode());
        return;
    }
    const QString line = QString::fromLatin1(m_process.readLine()).trimmed();
    static const QRegularExpression readyLine(QStringLiteral("^devsim ready udp=(\\d+) tcp=(\\d+)$"));
    const QRegularExpressionMatch match = readyLine.match(line);
    if (!match.hasMatch()) {
        m_error = QStringLiteral("unexpected first line from devsim: %1").arg(line);
        return;
    }
    m_udpPort = static_cast<quint16>(match.captured(1).toUInt());
    m_tcpPort = static_cast<quint16>(match.captured(2).toUInt());
    m_ready = true;
}
