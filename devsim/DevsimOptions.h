#pragma once
// Command line of lanvista-devsim: the devices it plays, where it listens, and the
// faults it injects.

#include <QHostAddress>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

// Faults of the UDP replies.
struct UdpFaults {
    bool badChecksum = false;
    bool lowercaseChecksum = false;
    bool unknownCommand = false;
    bool emptyDatagram = false;
    bool shortReply = false;
    int duplicate = 1;   // copies of each reply
    int delayMs = 0;     // wait before answering a request
};

// Faults of the firmware download.
struct TcpFaults {
    bool nakBeforeRequest = false;
    bool splitStatus = false;
    bool unknownStatus = false;
    bool closeMidTransfer = false;
    bool refuse = false;
    bool slowReader = false;
    bool reset = false;
    int garbageStatusBytes = 0;  // 0: send a real image request
};

struct DevsimOptions {
    int deviceCount = 3;
    std::uint64_t firstMac = 0x001A2B3C4D01;
    std::uint32_t firstIp = 0xC0A80065;  // 192.168.0.101
    bool dhcp = false;
    QString firmwareVersion = QStringLiteral("3.07");
    // What a device reports after a download it acknowledged: empty for the version the
    // image holds (its first "Brimnet_vD.DD"), "same" for no change, or a version d.dd.
    QString versionAfterUpdate;
    QHostAddress bindAddress{QHostAddress::AnyIPv4};
    quint16 udpPort = 27700;
    quint16 tcpPort = 26600;
    bool tcpEnabled = true;
    bool quiet = false;
    UdpFaults udp;
    TcpFaults tcp;
};

// Parses arguments (argv as QCoreApplication::arguments() gives it). --help, --version
// and unknown options print their text and exit the process, as QCommandLineParser
// does; a bad option value returns std::nullopt with error set.
std::optional<DevsimOptions> ParseDevsimOptions(const QStringList& arguments, QString& error);
