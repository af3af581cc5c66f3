#include "devsim/DevsimOptions.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QRegularExpression>

namespace {

constexpr std::uint64_t kLastMac = 0xFFFFFFFFFFFF;
constexpr int kMaxDevices = 100000;
constexpr int kMaxDelayMs = 600000;
constexpr int kMaxDuplicate = 1000;
constexpr int kMaxGarbageBytes = 65536;

const QCommandLineOption kDevices({QStringLiteral("devices")},
    QStringLiteral("Number of device servers to play (1 to 100000, default 3)."), QStringLiteral("N"),
    QStringLiteral("3"));
const QCommandLineOption kFirstMac({QStringLiteral("first-mac")},
    QStringLiteral("MAC address of the first device; the others count up from it "
                   "(default 00:1A:2B:3C:4D:01)."),
    QStringLiteral("MAC"), QStringLiteral("00:1A:2B:3C:4D:01"));
const QCommandLineOption kFirstIp({QStringLiteral("first-ip")},
    QStringLiteral("IPv4 address of the first device; the others count up from it, mask "
                   "255.255.255.0, gateway .1 of the first device's network (default 192.168.0.101)."),
    QStringLiteral("ADDR"), QStringLiteral("192.168.0.101"));
const QCommandLineOption kDhcp({QStringLiteral("dhcp")}, QStringLiteral("Devices start with DHCP in use."));
const QCommandLineOption kFirmware({QStringLiteral("firmware-version")},
    QStringLiteral("Firmware version the devices report, as d.dd (default 3.07)."), QStringLiteral("VERSION"),
    QStringLiteral("3.07"));
const QCommandLineOption kVersionAfterUpdate({QStringLiteral("version-after-update")},
    QStringLiteral("Firmware version a device reports once it has acknowledged a download: d.dd, or "
                   "'same' for a device that keeps its old one. By default the version the image holds, "
                   "its first \"Brimnet_v\" followed by d.dd, or no change when it holds none. The device "
                   "is the one whose address the download connected to, else the first."),
    QStringLiteral("VERSION"));
const QCommandLineOption kBind({QStringLiteral("bind")},
    QStringLiteral("Local IPv4 address to listen on (default: all). Bound to one address, the "
                   "devices do not hear 255.255.255.255 broadcasts."),
    QStringLiteral("ADDR"));
const QCommandLineOption kUdpPort({QStringLiteral("udp-port")},
    QStringLiteral("UDP port for search and save requests; 0 picks a free one (default 27700)."),
    QStringLiteral("PORT"), QStringLiteral("27700"));
const QCommandLineOption kTcpPort({QStringLiteral("tcp-port")},
    QStringLiteral("TCP port for firmware downloads; 0 picks a free one (default 26600)."),
    QStringLiteral("PORT"), QStringLiteral("26600"));
const QCommandLineOption kNoTcp({QStringLiteral("no-tcp")},
    QStringLiteral("No firmware download port at all (the ready line then says tcp=0)."));
const QCommandLineOption kQuiet({QStringLiteral("quiet")}, QStringLiteral("No log lines on stderr."));

const QCommandLineOption kBadChecksum({QStringLiteral("bad-checksum")},
    QStringLiteral("UDP fault: replies carry a wrong checksum."));
const QCommandLineOption kLowercaseChecksum({QStringLiteral("lowercase-checksum")},
    QStringLiteral("UDP fault: reply checksums are written in lower case (always with at least one "
                   "letter, so the difference shows)."));
const QCommandLineOption kUnknownCommand({QStringLiteral("unknown-command")},
    QStringLiteral("UDP fault: replies carry the command 22, correctly sealed."));
const QCommandLineOption kEmptyDatagram({QStringLiteral("empty-datagram")},
    QStringLiteral("UDP fault: one empty datagram follows the replies to each request."));
const QCommandLineOption kDuplicate({QStringLiteral("duplicate")},
    QStringLiteral("UDP fault: every reply is sent N times (1 to 1000)."), QStringLiteral("N"),
    QStringLiteral("1"));
const QCommandLineOption kDelay({QStringLiteral("delay")},
    QStringLiteral("UDP fault: wait MS milliseconds before answering a request (up to 600000)."),
    QStringLiteral("MS"), QStringLiteral("0"));
const QCommandLineOption kShortReply({QStringLiteral("short-reply")},
    QStringLiteral("UDP fault: only the first 100 bytes of each reply are sent."));

const QCommandLineOption kNakBeforeRequest({QStringLiteral("nak-before-request")},
    QStringLiteral("TCP fault: a valid header is answered with NAK instead of the image request."));
const QCommandLineOption kSplitStatus({QStringLiteral("split-status")},
    QStringLiteral("TCP fault: every status message goes out as 20 bytes, a pause, then 12 bytes."));
const QCommandLineOption kUnknownStatus({QStringLiteral("unknown-status")},
    QStringLiteral("TCP fault: a status message with code 0x99 comes before the image request."));
const QCommandLineOption kCloseMidTransfer({QStringLiteral("close-mid-transfer")},
    QStringLiteral("TCP fault: the connection is closed once half the image has arrived."));
const QCommandLineOption kRefuse({QStringLiteral("refuse")},
    QStringLiteral("TCP fault: the download port is held but not listening, so connections are "
                   "refused."));
const QCommandLineOption kSlowReader({QStringLiteral("slow-reader")},
    QStringLiteral("TCP fault: the image is read slowly, in small pieces."));
const QCommandLineOption kReset({QStringLiteral("reset")},
    QStringLiteral("TCP fault: the connection is reset (RST) once half the image has arrived."));
const QCommandLineOption kGarbageStatus({QStringLiteral("garbage-status")},
    QStringLiteral("TCP fault: BYTES garbage bytes (1 to 65536) are sent instead of the image "
                   "request; the image is still accepted."),
    QStringLiteral("BYTES"));

bool ParseInt(const QString& text, int low, int high, int& value)
{
    bool ok = false;
    const int parsed = text.toInt(&ok, 10);
    if (!ok || parsed < low || parsed > high)
        return false;
    value = parsed;
    return true;
}

bool ParsePort(const QString& text, quint16& port)
{
    int value = 0;
    if (!ParseInt(text, 0, 65535, value))
        return false;
    port = static_cast<quint16>(value);
    return true;
}

// "00:1A:2B:3C:4D:01", "00-1a-2b-3c-4d-01" or "001A2B3C4D01".
bool ParseMac(QString text, std::uint64_t& mac)
{
    text.remove(QLatin1Char(':')).remove(QLatin1Char('-'));
    static const QRegularExpression twelveHex(QStringLiteral("^[0-9A-Fa-f]{12}$"));
    if (!twelveHex.match(text).hasMatch())
        return false;
    mac = text.toULongLong(nullptr, 16);
    return true;
}

bool ParseIpv4(const QString& text, QHostAddress& address)
{
    QHostAddress parsed;
    if (!parsed.setAddress(text) || parsed.protocol() != QAbstractSocket::IPv4Protocol)
        return false;
    address = parsed;
    return true;
}

void AddOptions(QCommandLineParser& parser)
{
    parser.setApplicationDescription(QStringLiteral(
        "Simulated device servers, for integrators' own tests of tools and scripts that talk to "
        "serial-to-Ethernet device servers, and for trying Lanvista without hardware. Plays the "
        "devices on the local host: answers 00/01 search and 10 save datagrams on UDP and takes "
        "firmware downloads on TCP, with the faults below on request. Prints \"devsim ready "
        "udp=<port> tcp=<port>\" on stdout once listening; logs go to stderr."));
    parser.addHelpOption();
    parser.addVersionOption();
    for (const QCommandLineOption* option :
         {&kDevices, &kFirstMac, &kFirstIp, &kDhcp, &kFirmware, &kVersionAfterUpdate, &kBind, &kUdpPort, &kTcpPort, &kNoTcp, &kQuiet,
          &kBadChecksum, &kLowercaseChecksum, &kUnknownCommand, &kEmptyDatagram, &kDuplicate, &kDelay,
          &kShortReply, &kNakBeforeRequest, &kSplitStatus, &kUnknownStatus, &kCloseMidTransfer,
          &kRefuse, &kSlowReader, &kReset, &kGarbageStatus})
        parser.addOption(*option);
}

bool ReadDevices(const QCommandLineParser& parser, DevsimOptions& options, QString& error)
{
    if (!ParseInt(parser.value(kDevices), 1, kMaxDevices, options.deviceCount)) {
        error = QStringLiteral("--devices needs a number from 1 to %1").arg(kMaxDevices);
        return false;
    }
    if (!ParseMac(parser.value(kFirstMac), options.firstMac)) {
        error = QStringLiteral("--first-mac needs six hex pairs, e.g. 00:1A:2B:3C:4D:01");
        return false;
    }
    if (kLastMac - options.firstMac < static_cast<std::uint64_t>(options.deviceCount - 1)) {
        error = QStringLiteral("--first-mac leaves no room for %1 devices").arg(options.deviceCount);
        return false;
    }
    QHostAddress firstIp;
    if (!ParseIpv4(parser.value(kFirstIp), firstIp)) {
        error = QStringLiteral("--first-ip needs an IPv4 address");
        return false;
    }
    options.firstIp = firstIp.toIPv4Address();
    if (0xFFFFFFFFu - options.firstIp < static_cast<std::uint32_t>(options.deviceCount - 1)) {
        error = QStringLiteral("--first-ip leaves no room for %1 devices").arg(options.deviceCount);
        return false;
    }
    options.dhcp = parser.isSet(kDhcp);
    static const QRegularExpression versionForm(QStringLiteral("^[0-9]\\.[0-9]{2}$"));
    options.firmwareVersion = parser.value(kFirmware);
    if (!versionForm.match(options.firmwareVersion).hasMatch()) {
        error = QStringLiteral("--firmware-version needs the form d.dd, e.g. 3.07");
        return false;
    }
    options.versionAfterUpdate = parser.value(kVersionAfterUpdate);
    if (parser.isSet(kVersionAfterUpdate) && options.versionAfterUpdate != QStringLiteral("same") &&
        !versionForm.match(options.versionAfterUpdate).hasMatch()) {
        error = QStringLiteral("--version-after-update needs the form d.dd, e.g. 3.08, or 'same'");
        return false;
    }
    return true;
}

bool ReadListening(const QCommandLineParser& parser, DevsimOptions& options, QString& error)
{
    if (parser.isSet(kBind) && !ParseIpv4(parser.value(kBind), options.bindAddress)) {
        error = QStringLiteral("--bind needs a local IPv4 address");
        return false;
    }
    if (!ParsePort(parser.value(kUdpPort), options.udpPort)) {
        error = QStringLiteral("--udp-port needs a port from 0 to 65535");
        return false;
    }
    if (!ParsePort(parser.value(kTcpPort), options.tcpPort)) {
        error = QStringLiteral("--tcp-port needs a port from 0 to 65535");
        return false;
    }
    options.tcpEnabled = !parser.isSet(kNoTcp);
    options.quiet = parser.isSet(kQuiet);
    return true;
}

bool ReadUdpFaults(const QCommandLineParser& parser, UdpFaults& faults, QString& error)
{
    faults.badChecksum = parser.isSet(kBadChecksum);
    faults.lowercaseChecksum = parser.isSet(kLowercaseChecksum);
    faults.unknownCommand = parser.isSet(kUnknownCommand);
    faults.emptyDatagram = parser.isSet(kEmptyDatagram);
    faults.shortReply = parser.isSet(kShortReply);
    if (!ParseInt(parser.value(kDuplicate), 1, kMaxDuplicate, faults.duplicate)) {
        error = QStringLiteral("--duplicate needs a number from 1 to %1").arg(kMaxDuplicate);
        return false;
    }
    if (!ParseInt(parser.value(kDelay), 0, kMaxDelayMs, faults.delayMs)) {
        error = QStringLiteral("--delay needs milliseconds from 0 to %1").arg(kMaxDelayMs);
        return false;
    }
    return true;
}

bool ReadTcpFaults(const QCommandLineParser& parser, TcpFaults& faults, QString& error)
{
    faults.nakBeforeRequest = parser.isSet(kNakBeforeRequest);
    faults.splitStatus = parser.isSet(kSplitStatus);
    faults.unknownStatus = parser.isSet(kUnknownStatus);
    faults.closeMidTransfer = parser.isSet(kCloseMidTransfer);
    faults.refuse = parser.isSet(kRefuse);
    faults.slowReader = parser.isSet(kSlowReader);
    faults.reset = parser.isSet(kReset);
    if (parser.isSet(kGarbageStatus) &&
        !ParseInt(parser.value(kGarbageStatus), 1, kMaxGarbageBytes, faults.garbageStatusBytes)) {
        error = QStringLiteral("--garbage-status needs a byte count from 1 to %1").arg(kMaxGarbageBytes);
        return false;
    }
    if (faults.closeMidTransfer && faults.reset) {
        error = QStringLiteral("--close-mid-transfer and --reset exclude each other");
        return false;
    }
    return true;
}

} // namespace

std::optional<DevsimOptions> ParseDevsimOptions(const QStringList& arguments, QString& error)
{
    QCommandLineParser parser;
    AddOptions(parser);
    parser.process(arguments);
    if (!parser.positionalArguments().isEmpty()) {
        error = QStringLiteral("unexpected argument %1").arg(parser.positionalArguments().first());
        return std::nullopt;
    }
    DevsimOptions options;
    if (!ReadDevices(parser, options, error) || !ReadListening(parser, options, error) ||
        !ReadUdpFaults(parser, options.udp, error) || !ReadTcpFaults(parser, options.tcp, error))
        return std::nullopt;
    if (options.tcp.refuse && !options.tcpEnabled) {
        error = QStringLiteral("--refuse and --no-tcp exclude each other");
        return std::nullopt;
    }
    return options;
}
