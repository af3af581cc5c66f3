#include "tests/support/DevsimSession.h"

#include "tests/devsim/DevsimProcess.h"

#include <QStringList>

struct DevsimSession::Running {
    explicit Running(const QStringList& arguments) : process(arguments) {}
    DevsimProcess process;
};

DevsimSession::DevsimSession(std::vector<std::string> arguments)
{
    QStringList all;
    for (const std::string& argument : arguments)
        all << QString::fromStdString(argument);
    m_running = std::make_unique<Running>(all);
    const DevsimProcess& process = m_running->process;
    if (!process.isReady()) {
        m_error = process.errorText().toStdString();
        return;
    }
    m_udpPort = process.udpPort();
    m_tcpPort = process.tcpPort();
    m_ready = true;
}

DevsimSession::~DevsimSession() = default;
