#include "devsim/RefusedPort.h"

bool RefusedPort::Bind(const QHostAddress& address, quint16 port, QString& error)
{
    if (m_socket.bind(address, port, QAbstractSocket::DontShareAddress))
        return true;
    error = QStringLiteral("cannot bind TCP %1:%2: %3").arg(address.toString()).arg(port).arg(m_socket.errorString());
    return false;
}

quint16 RefusedPort::Port() const
{
    return m_socket.localPort();
}
