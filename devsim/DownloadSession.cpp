#include "devsim/DownloadSession.h"

#include "devsim/Log.h"
#include "link/Crc.h"
#include "platform/MemoryAdvice.h"
#include "update/StatusFraming.h"

#include <QRandomGenerator>
#include <QTcpSocket>

#include <sys/socket.h>

#include <algorithm>

namespace {

constexpr unsigned char kUnknownStatusCode = 0x99;
constexpr qint64 kSplitFirstPiece = 20;
constexpr int kSplitPauseMs = 200;
constexpr qint64 kSlowPiece = 512;
constexpr int kSlowIntervalMs = 10;
// Keeps the kernel from buffering the image behind the slow reader's back.
constexpr int kSlowReceiveBuffer = 4096;
// The most the socket takes from the kernel at a time while an image comes in: one chunk
// its buffer reuses, instead of a fresh allocation of whatever the kernel holds.
constexpr qint64 kImageReadChunk = 1 << 20;
// The image buffer is sized for the announced length up to this much at once; a larger
// announcement grows it as the bytes come, so a header alone cannot claim gigabytes.
constexpr qint64 kMaxImageReserve = qint64{256} << 20;

QString CodeText(unsigned char code)
{
    switch (code) {
    case kStatusImageRequest: return QStringLiteral("image request");
    case kStatusSuccess: return QStringLiteral("ACK");
    case kStatusFailure: return QStringLiteral("NAK");
    default: return QStringLiteral("code 0x%1").arg(code, 2, 16, QLatin1Char('0'));
    }
}

QString Hex8(std::uint32_t value)
{
    char text[8];
    FormatCrcLower(value, text);
    return QString::fromLatin1(text, 8);
}

} // namespace

DownloadSession::DownloadSession(QTcpSocket* socket, const TcpFaults& faults, QByteArray& spareImage,
                                 const ImageTaken& taken, QObject* parent)
    : QObject(parent)
    , m_faults(faults)
    , m_socket(socket)
    , m_peer(QStringLiteral("%1:%2").arg(socket->peerAddress().toString()).arg(socket->peerPort()))
    , m_spareImage(spareImage)
    , m_taken(taken)
{
    m_socket->setParent(this);
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    if (m_faults.slowReader) {
        m_socket->setReadBufferSize(kSlowPiece);
        m_socket->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, kSlowReceiveBuffer);
    }
    m_slowTimer.setTimerType(Qt::PreciseTimer);
    m_slowTimer.setInterval(kSlowIntervalMs);
    connect(&m_slowTimer, &QTimer::timeout, this, [this] { ReadImage(kSlowPiece); });
    connect(m_socket, &QTcpSocket::readyRead, this, &DownloadSession::OnReadyRead);
    connect(m_socket, &QTcpSocket::disconnected, this, &DownloadSession::OnDisconnected);
    LogLine(QStringLiteral("tcp %1: connected").arg(m_peer));
    OnReadyRead();
}

void DownloadSession::OnReadyRead()
{
    switch (m_stage) {
    case Stage::Header:
        ReadHeader();
        break;
    case Stage::Waiting:
        break;
    case Stage::Image:
        if (!m_faults.slowReader)
            ReadImage(m_socket->bytesAvailable());
        break;
    case Stage::Done:
        // Read and drop, so that closing does not turn into a reset over unread data.
        m_socket->readAll();
        break;
    }
}

void DownloadSession::OnDisconnected()
{
    if (m_stage == Stage::Image)
        LogLine(QStringLiteral("tcp %1: peer closed after %2 of %3 image bytes")
                    .arg(m_peer)
                    .arg(m_image.size())
                    .arg(m_announced.imageLength));
    else if (m_stage != Stage::Done)
        LogLine(QStringLiteral("tcp %1: peer closed before the download finished").arg(m_peer));
    m_stage = Stage::Done;
    m_slowTimer.stop();
    ReleaseImage();
    deleteLater();
}

void DownloadSession::ReadHeader()
{
    m_header += m_socket->read(static_cast<qint64>(kDownloadHeaderSize) - m_header.size());
    if (m_header.size() < static_cast<qsizetype>(kDownloadHeaderSize))
        return;
    const auto fields =
        ReadDownloadHeader(reinterpret_cast<const unsigned char*>(m_header.constData()), kDownloadHeaderSize);
    if (!fields) {
        LogLine(QStringLiteral("tcp %1: bad download header -> NAK").arg(m_peer));
        Finish(kStatusFailure);
        return;
    }
    AcceptHeader(*fields);
}

void DownloadSession::AcceptHeader(const DownloadHeaderFields& fields)
{
    m_announced = fields;
    m_stage = Stage::Waiting;
    LogLine(QStringLiteral("tcp %1: header length=%2 crc=%3")
                .arg(m_peer)
                .arg(fields.imageLength)
                .arg(Hex8(fields.imageCrc)));
    if (m_faults.unknownStatus)
        SendStatus(kUnknownStatusCode, [this] { AskForImage(); });
    else
        AskForImage();
}

void DownloadSession::AskForImage()
{
    if (m_faults.nakBeforeRequest) {
        Finish(kStatusFailure);
        return;
    }
    if (m_faults.garbageStatusBytes > 0) {
        SendGarbage();
        BeginImage();
        return;
    }
    SendStatus(kStatusImageRequest, [this] { BeginImage(); });
}

void DownloadSession::BeginImage()
{
    m_stage = Stage::Image;
    m_image.swap(m_spareImage);
    m_image.resize(0);
    m_image.reserve(std::min<qint64>(m_announced.imageLength, kMaxImageReserve));
    // Without huge pages a 64 MiB image costs a page fault for each of its 16,384 pages.
    AdviseHugePages(m_image.data(), static_cast<std::size_t>(m_image.capacity()));
    if (m_faults.slowReader)
        m_slowTimer.start();
    else
        m_socket->setReadBufferSize(kImageReadChunk);
    ReadImage(m_faults.slowReader ? kSlowPiece : m_socket->bytesAvailable());
}

void DownloadSession::ReadImage(qint64 maxBytes)
{
    if (m_stage != Stage::Image)
        return;
    const bool stopHalfway = m_faults.closeMidTransfer || m_faults.reset;
    const qint64 target = stopHalfway ? m_announced.imageLength / 2 : m_announced.imageLength;
    const qint64 wanted = std::min(target - m_image.size(), maxBytes);
    if (wanted > 0) {
        // Straight into the image's own buffer: no piece is copied twice.
        const qsizetype have = m_image.size();
        m_image.resize(have + wanted);
        const qint64 got = m_socket->read(m_image.data() + have, wanted);
        m_image.resize(have + std::max<qint64>(got, 0));
    }
    if (m_image.size() < target)
        return;
    if (m_faults.closeMidTransfer) {
        LogLine(QStringLiteral("tcp %1: closing after %2 image bytes").arg(m_peer).arg(m_image.size()));
        m_stage = Stage::Done;
        m_slowTimer.stop();
        m_socket->disconnectFromHost();
        return;
    }
    if (m_faults.reset) {
        Reset();
        return;
    }
    // An empty image is never complete: the device waits, as a real one would.
    if (m_announced.imageLength == 0)
        return;
    const std::uint32_t crc =
        CalcCrc(reinterpret_cast<const unsigned char*>(m_image.constData()), static_cast<std::size_t>(m_image.size()));
    const bool good = crc == m_announced.imageCrc;
    LogLine(QStringLiteral("tcp %1: image %2 bytes crc=%3 -> %4")
                .arg(m_peer)
                .arg(m_image.size())
                .arg(Hex8(crc), good ? QStringLiteral("ACK") : QStringLiteral("NAK")));
    if (good && m_taken)
        m_taken(m_socket->localAddress().toIPv4Address(), m_image);
    ReleaseImage();
    Finish(good ? kStatusSuccess : kStatusFailure);
}

void DownloadSession::Finish(unsigned char code)
{
    m_stage = Stage::Done;
    m_slowTimer.stop();
    SendStatus(code, [this] { m_socket->disconnectFromHost(); });
}

void DownloadSession::SendStatus(unsigned char code, std::function<void()> then)
{
    if (m_socket->state() != QAbstractSocket::ConnectedState)
        return;
    const auto message = BuildStatusMessage(code, QRandomGenerator::global()->generate());
    const QByteArray bytes(reinterpret_cast<const char*>(message.data()), static_cast<qsizetype>(message.size()));
    LogLine(QStringLiteral("tcp %1: status %2%3")
                .arg(m_peer, CodeText(code), m_faults.splitStatus ? QStringLiteral(" (split)") : QString()));
    if (!m_faults.splitStatus) {
        m_socket->write(bytes);
        then();
        return;
    }
    m_socket->write(bytes.left(kSplitFirstPiece));
    m_socket->flush();
    QTimer::singleShot(kSplitPauseMs, Qt::PreciseTimer, this,
                       [this, rest = bytes.mid(kSplitFirstPiece), then = std::move(then)] {
                           if (m_socket->state() != QAbstractSocket::ConnectedState)
                               return;
                           m_socket->write(rest);
                           then();
                       });
}

void DownloadSession::SendGarbage()
{
    QByteArray garbage(m_faults.garbageStatusBytes, '\0');
    for (char& byte : garbage)
        byte = static_cast<char>(QRandomGenerator::global()->bounded(1, 256));
    // Never a status message's first byte, so the garbage cannot pass for one.
    if (garbage[0] == static_cast<char>(kStatusImageRequest))
        garbage[0] = '\x7f';
    LogLine(QStringLiteral("tcp %1: %2 garbage bytes instead of a status").arg(m_peer).arg(garbage.size()));
    m_socket->write(garbage);
}

void DownloadSession::Reset()
{
    LogLine(QStringLiteral("tcp %1: resetting after %2 image bytes").arg(m_peer).arg(m_image.size()));
    m_stage = Stage::Done;
    m_slowTimer.stop();
    // Linger with a zero timeout makes the close send RST instead of FIN.
    const linger abortive{1, 0};
    ::setsockopt(static_cast<int>(m_socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &abortive,
                 sizeof abortive);
    m_socket->abort();
    ReleaseImage();
    deleteLater();
}

void DownloadSession::ReleaseImage()
{
    // Of two sessions at once, the one with the larger buffer leaves it.
    if (m_image.capacity() > m_spareImage.capacity())
        m_spareImage.swap(m_image);
    m_image = QByteArray();
}
