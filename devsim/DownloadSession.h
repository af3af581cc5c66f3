#pragma once
// The device's side of one firmware download: header, image request, image, verdict.

#include "devsim/DevsimOptions.h"
#include "update/DownloadHeader.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <functional>

/// Told of each image a device acknowledged: the address the download connected to (first
/// octet in the most significant byte) and the image.
using ImageTaken = std::function<void(std::uint32_t deviceAddress, const QByteArray& image)>;

class QTcpSocket;

class DownloadSession : public QObject {
    Q_OBJECT
public:
    // Takes the accepted socket; the session deletes itself when the connection ends. The
    // image comes into spareImage's buffer, which the session hands back when it is done;
    // spareImage must outlive it.
    DownloadSession(QTcpSocket* socket, const TcpFaults& faults, QByteArray& spareImage, const ImageTaken& taken,
                    QObject* parent);

private:
    enum class Stage { Header, Waiting, Image, Done };

    void OnReadyRead();
    void OnDisconnected();
    void ReadHeader();
    void AcceptHeader(const DownloadHeaderFields& fields);
    void AskForImage();
    void BeginImage();
    void ReadImage(qint64 maxBytes);
    void Finish(unsigned char code);
    void SendStatus(unsigned char code, std::function<void()> then);
    void SendGarbage();
    void Reset();
    void ReleaseImage();

    TcpFaults m_faults;
    QTcpSocket* m_socket;
    QString m_peer;
    Stage m_stage = Stage::Header;
    QByteArray m_header;
    DownloadHeaderFields m_announced{};
    QByteArray m_image;
    QByteArray& m_spareImage;
    const ImageTaken& m_taken;
    QTimer m_slowTimer;
};
