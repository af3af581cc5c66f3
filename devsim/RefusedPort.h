#pragma once
// A TCP port that is held but never listened on, so every connection to it is refused
// (and no other program can take the port meanwhile).

#include <QHostAddress>
#include <QTcpSocket>

class RefusedPort {
public:
    bool Bind(const QHostAddress& address, quint16 port, QString& error);
    quint16 Port() const;

private:
    QTcpSocket m_socket;
};
