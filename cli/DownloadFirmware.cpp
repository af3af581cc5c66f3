#include "cli/Commands.h"
#include "cli/DeviceLink.h"
#include "cli/ExitCode.h"
#include "cli/InputText.h"
#include "cli/ProgressBar.h"
#include "cli/TcpConnection.h"
#include "update/FirmwareDownload.h"
#include "update/ImageName.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>

namespace {

// A status message is 32 bytes; the dialog reads up to 4096 at a time too.
constexpr std::size_t kReceiveSize = 4096;

// The image under the dialog's Browse rule, or std::nullopt with the reason written to err.
std::optional<FirmwareImage> LoadImage(const std::string& path, std::ostream& err)
{
    // The rule looks at the full path, as the dialog's file dialog gives it.
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(path, error);
    if (error || !IsFirmwareImagePath(full.string())) {
        err << "lanvista-cli: \"" << path << "\" is not taken as a firmware image: its full path must contain "
            << "\"Brimnet_v\" and \"bin\" (both case-sensitive), as in the dialog's Browse\n";
        return std::nullopt;
    }
    if (std::filesystem::is_directory(full, error)) {
        err << "lanvista-cli: \"" << path << "\" is a folder, not a firmware image\n";
        return std::nullopt;
    }
    const std::uintmax_t size = std::filesystem::file_size(full, error);
    if (error) {
        err << "lanvista-cli: cannot open \"" << path << "\": " << error.message() << '\n';
        return std::nullopt;
    }
    if (size > kMaxImageSize) {
        err << "lanvista-cli: \"" << path << "\" is too large to load: " << size << " bytes (at most "
            << kMaxImageSize << ")\n";
        return std::nullopt;
    }
    std::ifstream file(full, std::ios::binary);
    if (!file) {
        err << "lanvista-cli: cannot open \"" << path << "\": " << std::strerror(errno) << '\n';
        return std::nullopt;
    }
    FirmwareImage image(static_cast<std::size_t>(size));
    file.read(reinterpret_cast<char*>(image.data()), static_cast<std::streamsize>(image.size()));
    // A file that shrank since its size was read is refused rather than sent cut short.
    if (file.gcount() != static_cast<std::streamsize>(image.size())) {
        err << "lanvista-cli: cannot read the whole of \"" << path << "\"\n";
        return std::nullopt;
    }
    if (image.empty()) {
        err << "lanvista-cli: \"" << path << "\" is empty\n";
        return std::nullopt;
    }
    return image;
}

int ConnectFailure(int error, const std::string& where, double timeoutSeconds, std::ostream& err)
{
    if (error == ECONNREFUSED)
        err << "lanvista-cli: " << where << " refused the connection\n";
    else if (error == ETIMEDOUT)
        err << "lanvista-cli: no connection to " << where << " within " << timeoutSeconds << " s\n";
    else
        err << "lanvista-cli: cannot connect to " << where << ": " << std::strerror(error) << '\n';
    return kExitConnection;
}

int SendFailure(int error, const std::string& where, const std::string& what, double timeoutSeconds,
                std::ostream& err)
{
    if (error == ETIMEDOUT)
        err << "lanvista-cli: " << where << " took no data for " << timeoutSeconds << " s while the " << what
            << " was sent\n";
    else
        err << "lanvista-cli: the connection to " << where << " broke while the " << what
            << " was sent: " << std::strerror(error) << '\n';
    return kExitConnection;
}

} // namespace

int RunUpdate(const UpdateCommand& command, const CliNetwork& network, bool showProgress, std::ostream& err)
{
    auto image = LoadImage(command.imagePath, err);
    if (!image)
        return kExitImage;

    const std::string where = DottedAddress(command.address) + " port " + std::to_string(network.downloadPort);
    TcpConnection connection;
    if (const int error = connection.Connect(command.address, network.downloadPort,
                                             DeadlineIn(command.timeoutSeconds)))
        return ConnectFailure(error, where, command.timeoutSeconds, err);

    FirmwareDownload download;
    const std::array<unsigned char, 32> header = FirmwareDownload::Header(*image, TickSeed());
    if (const int error = connection.SendAll(header.data(), header.size(), command.timeoutSeconds, [](std::size_t) {}))
        return SendFailure(error, where, "download header", command.timeoutSeconds, err);
    download.Announce();

    std::string replyText;
    std::array<char, kReceiveSize> buffer{};
    for (;;) {
        const ssize_t received = connection.Receive(buffer.data(), buffer.size(), DeadlineIn(command.timeoutSeconds));
        if (received == 0) {
            err << "lanvista-cli: " << where << " closed the connection before it reported a result\n";
            return kExitConnection;
        }
        if (received < 0) {
            if (errno == ETIMEDOUT) {
                err << "lanvista-cli: " << where << " sent no status message it could act on for "
                    << command.timeoutSeconds << " s\n";
                return kExitDevice;
            }
            err << "lanvista-cli: the connection to " << where << " broke before it reported a result: "
                << std::strerror(errno) << '\n';
            return kExitConnection;
        }

        switch (download.Receive(replyText, buffer.data(), static_cast<std::size_t>(received))) {
        case StatusAction::None:
            break;
        case StatusAction::SendImage: {
            const FirmwareImage& bytes = download.ImageToSend(*image);
            if (bytes.empty()) {
                err << "lanvista-cli: the device asked for the image again after it was sent; waiting for its "
                       "result\n";
                break;
            }
            std::optional<ProgressBar> bar;
            if (showProgress)
                bar.emplace(err, bytes.size());
            const int error = connection.SendAll(bytes.data(), bytes.size(), command.timeoutSeconds,
                                                 [&](std::size_t sent) {
                                                     if (bar)
                                                         bar->Update(sent);
                                                 });
            if (bar)
                bar->Finish();
            if (error)
                return SendFailure(error, where, "image", command.timeoutSeconds, err);
            if (download.MarkImageSent())
                image->clear();
            break;
        }
        case StatusAction::Success:
            err << "lanvista-cli: the device reported success\n";
            return kExitSuccess;
        case StatusAction::Failure:
            err << "lanvista-cli: the device reported failure\n";
            return kExitDevice;
        }
    }
}
