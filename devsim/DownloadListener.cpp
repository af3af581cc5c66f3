#include "devsim/DownloadListener.h"

#include "devsim/DownloadSession.h"

#include <QTcpSocket>

DownloadListener::DownloadListener(const TcpFaults& faults, ImageTaken taken, QObject* parent)
    : QObject(parent)
    , m_faults(faults)
    , m_taken(std::move(taken))
{
    connect(&m_server, &QTcpServer::newConnection, this, &DownloadListener::OnNewConnection);
}

bool DownloadListener::Listen(const QHostAddress& address, quint16 port, QString& error)
{
    if (m_server.listen(address, port))
        return true;
    error = QStringLiteral("cannot listen on TCP %1:%2: %3").arg(address.toString()).arg(port).arg(m_server.errorString());
    return false;
}

quint16 DownloadListener::Port() const
{
    return m_server.serverPort();
}

void DownloadListener::OnNewConnection()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection())
        new DownloadSession(socket, m_faults, m_spareImage, m_taken, this);
}
