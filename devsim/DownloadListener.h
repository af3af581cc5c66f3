#pragma once
// The firmware download port: one session per accepted connection.

#include "devsim/DevsimOptions.h"
#include "devsim/DownloadSession.h"

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QTcpServer>

class DownloadListener : public QObject {
    Q_OBJECT
public:
    /// taken: told of each image a device acknowledged.
    DownloadListener(const TcpFaults& faults, ImageTaken taken, QObject* parent = nullptr);

    bool Listen(const QHostAddress& address, quint16 port, QString& error);
    quint16 Port() const;

private:
    void OnNewConnection();

    TcpFaults m_faults;
    ImageTaken m_taken;
    QTcpServer m_server;
    // The largest image buffer a finished session left, for the next one: a fresh 64 MiB
    // buffer costs the kernel a clearing of every page on each download.
    QByteArray m_spareImage;
};
