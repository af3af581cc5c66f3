#include "devsim/UdpResponder.h"

#include "devsim/Log.h"
#include "link/Datagram.h"

#include <QNetworkDatagram>
#include <QRandomGenerator>
#include <QTimer>

namespace {

QString Peer(const QHostAddress& address, quint16 port)
{
    return QStringLiteral("%1:%2").arg(address.toString()).arg(port);
}

QString AddressText(std::uint32_t address)
{
    return QHostAddress(address).toString();
}

std::uint32_t NextSeed()
{
    return QRandomGenerator::global()->generate();
}

} // namespace

UdpResponder::UdpResponder(std::vector<DeviceSettings> devices, const UdpFaults& faults, QObject* parent)
    : QObject(parent)
    , m_devices(std::move(devices))
    , m_faults(faults)
    , m_shaper(faults)
{
    m_searchReplies.reserve(m_devices.size());
    for (const DeviceSettings& device : m_devices)
        m_searchReplies.push_back(BuildSearchReplyFor(device));
    connect(&m_socket, &QUdpSocket::readyRead, this, &UdpResponder::OnReadyRead);
}

bool UdpResponder::Bind(const QHostAddress& address, quint16 port, QString& error)
{
    // No address sharing: a second devsim or the program on the same port is a clash.
    if (m_socket.bind(address, port, QAbstractSocket::DontShareAddress))
        return true;
    error = QStringLiteral("cannot bind UDP %1: %2").arg(Peer(address, port), m_socket.errorString());
    return false;
}

quint16 UdpResponder::Port() const
{
    return m_socket.localPort();
}

void UdpResponder::OnReadyRead()
{
    while (m_socket.hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_socket.receiveDatagram();
        if (datagram.isValid())
            HandleDatagram(datagram.data(), datagram.senderAddress(), static_cast<quint16>(datagram.senderPort()));
    }
}

void UdpResponder::HandleDatagram(const QByteArray& data, const QHostAddress& sender, quint16 senderPort)
{
    const auto size = static_cast<std::size_t>(data.size());
    if (const auto search = ReadSearchRequest(data.constData(), size)) {
        AnswerSearch(*search, sender, senderPort);
        return;
    }
    if (const auto save = ReadSaveRequest(data.constData(), size)) {
        AnswerSave(*save, sender, senderPort);
        return;
    }
    // Replies (our own, echoed back by a broadcast) and damaged requests end here.
    LogLine(QStringLiteral("udp %1: ignored %2-byte datagram that is no valid request")
                .arg(Peer(sender, senderPort))
                .arg(data.size()));
}

void UdpResponder::AnswerSearch(const SearchRequestFields& request, const QHostAddress& sender,
                                quint16 senderPort)
{
    if (request.all) {
        LogLine(QStringLiteral("udp %1: search 00 -> %2 replies").arg(Peer(sender, senderPort)).arg(m_devices.size()));
        Reply(m_searchReplies, sender, senderPort);
        return;
    }
    for (std::size_t i = 0; i < m_devices.size(); ++i) {
        if (MacMatches(m_devices[i], request.mac12)) {
            LogLine(QStringLiteral("udp %1: search 01 %2 -> 1 reply")
                        .arg(Peer(sender, senderPort), QString::fromStdString(request.mac12)));
            Reply({m_searchReplies[i]}, sender, senderPort);
            return;
        }
    }
    LogLine(QStringLiteral("udp %1: search 01 %2 -> no such device")
                .arg(Peer(sender, senderPort), QString::fromStdString(request.mac12)));
}

void UdpResponder::SetFirmwareVersion(std::uint32_t address, const std::string& version)
{
    if (m_devices.empty())
        return;
    std::size_t i = 0;
    while (i < m_devices.size() && m_devices[i].ip != address)
        ++i;
    if (i == m_devices.size())
        i = 0;
    m_devices[i].version = version;
    m_searchReplies[i] = BuildSearchReplyFor(m_devices[i]);
    LogLine(QStringLiteral("tcp: %1 now runs firmware %2")
                .arg(QString::fromStdString(m_devices[i].mac12), QString::fromStdString(version)));
}

void UdpResponder::AnswerSave(const SaveRequestFields& request, const QHostAddress& sender, quint16 senderPort)
{
    for (std::size_t i = 0; i < m_devices.size(); ++i) {
        DeviceSettings& device = m_devices[i];
        if (!MacMatches(device, request.mac12))
            continue;
        device.ip = request.ip;
        device.mask = request.mask;
        device.gateway = request.gateway;
        device.port = request.port;
        device.dhcp = request.dhcp;
        m_searchReplies[i] = BuildSearchReplyFor(device);
        LogLine(QStringLiteral("udp %1: save 10 %2 ip=%3 mask=%4 gateway=%5 port=%6 dhcp=%7 -> 21")
                    .arg(Peer(sender, senderPort), QString::fromStdString(device.mac12), AddressText(device.ip),
                         AddressText(device.mask), AddressText(device.gateway))
                    .arg(device.port)
                    .arg(device.dhcp ? 1 : 0));
        Reply({m_shaper.Shape(BuildSaveReply(NextSeed()))}, sender, senderPort);
        return;
    }
    LogLine(QStringLiteral("udp %1: save 10 %2 -> no such device")
                .arg(Peer(sender, senderPort), QString::fromStdString(request.mac12)));
}

QByteArray UdpResponder::BuildSearchReplyFor(const DeviceSettings& device) const
{
    return m_shaper.Shape(BuildSearchReply(device.mac12, device.ip, device.mask, device.gateway, device.port,
                                           device.dhcp, device.version, NextSeed()));
}

void UdpResponder::Reply(const std::vector<QByteArray>& replies, const QHostAddress& to, quint16 toPort)
{
    if (m_faults.delayMs == 0) {
        SendReplies(replies, to, toPort);
        return;
    }
    QTimer::singleShot(m_faults.delayMs, Qt::PreciseTimer, this,
                       [this, replies, to, toPort] { SendReplies(replies, to, toPort); });
}

void UdpResponder::SendReplies(const std::vector<QByteArray>& replies, const QHostAddress& to, quint16 toPort)
{
    int failed = 0;
    for (const QByteArray& reply : replies)
        for (int copy = 0; copy < m_faults.duplicate; ++copy)
            if (m_socket.writeDatagram(reply, to, toPort) != reply.size())
                ++failed;
    if (m_faults.emptyDatagram && m_socket.writeDatagram(QByteArray(), to, toPort) != 0)
        ++failed;
    if (failed != 0)
        LogLine(QStringLiteral("udp %1: %2 datagrams not sent: %3")
                    .arg(Peer(to, toPort))
                    .arg(failed)
                    .arg(m_socket.errorString()));
}
