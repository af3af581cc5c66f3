#pragma once
// Starts lanvista-devsim for a test and stops it again. The executable is taken from
// the LANVISTA_DEVSIM environment variable (CTest sets it), else looked for next to
// the build tree's test folders. Needs a Q(Core)Application in the test.

#include <QProcess>
#include <QString>
#include <QStringList>

class DevsimProcess {
public:
    // arguments: devsim options; --udp-port 0 and --tcp-port 0 are added unless the
    // caller gives those options. Waits up to readyTimeoutMs for the ready line.
    explicit DevsimProcess(const QStringList& arguments = {}, int readyTimeoutMs = 10000);
    // Terminates devsim, and kills it if it does not end.
    ~DevsimProcess();

    DevsimProcess(const DevsimProcess&) = delete;
    DevsimProcess& operator=(const DevsimProcess&) = delete;

    bool isReady() const { return m_ready; }
    // Why devsim is not ready; empty when it is.
    QString errorText() const { return m_error; }
    quint16 udpPort() const { return m_udpPort; }
    // 0 when devsim runs without a download port.
    quint16 tcpPort() const { return m_tcpPort; }

    static QString executablePath();

private:
    void WaitForReadyLine(int timeoutMs);

    QProcess m_process;
    bool m_ready = false;
    QString m_error;
    quint16 m_udpPort = 0;
    quint16 m_tcpPort = 0;
};
