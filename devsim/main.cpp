// lanvista-devsim: plays device servers on UDP and TCP for tests, the lab and demos.

#include "devsim/DeviceSettings.h"
#include "devsim/DevsimOptions.h"
#include "devsim/DownloadListener.h"
#include "devsim/ImageVersion.h"
#include "devsim/Log.h"
#include "devsim/RefusedPort.h"
#include "devsim/UdpResponder.h"
#include "lanvista/Version.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

// Binds the download port as the options ask; 0 when there is none.
bool StartTcp(const DevsimOptions& options, DownloadListener& listener, RefusedPort& refused, quint16& port,
              QString& error)
{
    port = 0;
    if (options.tcp.refuse) {
        if (!refused.Bind(options.bindAddress, options.tcpPort, error))
            return false;
        port = refused.Port();
    } else if (options.tcpEnabled) {
        if (!listener.Listen(options.bindAddress, options.tcpPort, error))
            return false;
        port = listener.Port();
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lanvista-devsim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(LANVISTA_VERSION));

    QString error;
    const std::optional<DevsimOptions> options = ParseDevsimOptions(QCoreApplication::arguments(), error);
    if (!options) {
        std::fprintf(stderr, "lanvista-devsim: %s\n", qPrintable(error));
        return 1;
    }
    SetLogQuiet(options->quiet);

    UdpResponder responder(MakeDevices(options->deviceCount, options->firstMac, options->firstIp, options->dhcp,
                                       options->firmwareVersion.toStdString()),
                           options->udp);
    // A device that acknowledged an image runs its version from then on, as the option says.
    const QString afterUpdate = options->versionAfterUpdate;
    DownloadListener listener(options->tcp, [&responder, afterUpdate](std::uint32_t address, const QByteArray& image) {
        std::optional<std::string> version = afterUpdate.isEmpty() ? VersionInImage(image) : afterUpdate.toStdString();
        if (version && *version != "same")
            responder.SetFirmwareVersion(address, *version);
    });
    RefusedPort refused;
    quint16 tcpPort = 0;
    if (!responder.Bind(options->bindAddress, options->udpPort, error) ||
        !StartTcp(*options, listener, refused, tcpPort, error)) {
        std::fprintf(stderr, "lanvista-devsim: %s\n", qPrintable(error));
        return 1;
    }
    // The one line on stdout: tests and scripts wait for it.
    std::printf("devsim ready udp=%u tcp=%u\n", static_cast<unsigned>(responder.Port()),
                static_cast<unsigned>(tcpPort));
    std::fflush(stdout);
    return QCoreApplication::exec();
}
