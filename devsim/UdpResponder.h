#pragma once
// The devices' side of the discovery and configuration datagrams: answers searches and
// applies saves, replying to the sender's address and port.

#include "devsim/DeviceSettings.h"
#include "devsim/DevsimOptions.h"
#include "devsim/ReplyShaper.h"

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QUdpSocket>

#include <vector>

struct SaveRequestFields;
struct SearchRequestFields;

class UdpResponder : public QObject {
    Q_OBJECT
public:
    UdpResponder(std::vector<DeviceSettings> devices, const UdpFaults& faults, QObject* parent = nullptr);

    bool Bind(const QHostAddress& address, quint16 port, QString& error);
    quint16 Port() const;
    /// The device at this address (the first when none is) now runs this firmware version.
    void SetFirmwareVersion(std::uint32_t address, const std::string& version);

private:
    void OnReadyRead();
    void HandleDatagram(const QByteArray& data, const QHostAddress& sender, quint16 senderPort);
    void AnswerSearch(const SearchRequestFields& request, const QHostAddress& sender, quint16 senderPort);
    void AnswerSave(const SaveRequestFields& request, const QHostAddress& sender, quint16 senderPort);
    QByteArray BuildSearchReplyFor(const DeviceSettings& device) const;
    // Sends now, or after the configured delay.
    void Reply(const std::vector<QByteArray>& replies, const QHostAddress& to, quint16 toPort);
    void SendReplies(const std::vector<QByteArray>& replies, const QHostAddress& to, quint16 toPort);

    std::vector<DeviceSettings> m_devices;
    // Each device's search reply, kept ready so a search of thousands is one fast burst.
    std::vector<QByteArray> m_searchReplies;
    UdpFaults m_faults;
    ReplyShaper m_shaper;
    QUdpSocket m_socket;
};
