#include "cli/ImageDownload.h"

#include "cli/DeviceLink.h"
#include "cli/ErrorText.h"
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

int ConnectFailure(int error, const std::string& where, double timeoutSeconds, std::ostream& err)
{
    if (error == WSAETIMEDOUT)
        err << "lanvista-cli: no connection to " << where << " within " << timeoutSeconds << " s\n";
    else if (error == WSAECONNREFUSED)
        err << "lanvista-cli: " << where << " refused the connection: " << SocketErrorText(error) << '\n';
    else
        err << "lanvista-cli: cannot connect to " << where << ": " << SocketErrorText(error) << '\n';
    return kExitConnection;
}

int SendFailure(int error, const std::string& where, const std::string& what, double timeoutSeconds,
                std::ostream& err)
{
    if (error == WSAETIMEDOUT)
        err << "lanvista-cli: " << where << " took no data for " << timeoutSeconds << " s while the " << what
            << " was sent\n";
    else
        err << "lanvista-cli: the connection to " << where << " broke while the " << what
            << " was sent: " << SocketErrorText(error) << '\n';
    return kExitConnection;
}

// One download: the device's status messages drive it, and --timeout bounds every step
// however many bytes trickle in meanwhile.
class Download {
public:
    Download(TcpConnection& connection, FirmwareImage& image, const std::string& where, const DownloadOptions& options,
             std::ostream& err)
        : m_connection(connection), m_image(image), m_where(where), m_options(options),
          m_err(err)
    {
    }

    int Run()
    {
        const std::array<unsigned char, 32> header = FirmwareDownload::Header(m_image, TickSeed());
        std::size_t sent = 0;
        const int error = m_connection.SendAll(header.data(), header.size(), sent, m_options.timeoutSeconds, [] {});
        if (error != 0 && error != TcpConnection::kIncoming)
            return SendFailure(error, m_where, "download header", m_options.timeoutSeconds, m_err);
        m_download.Announce();
        m_stepEnd = DeadlineIn(m_options.timeoutSeconds);
        for (;;) {
            if (const auto result = ReceiveStep())
                return *result;
        }
    }

private:
    using Clock = std::chrono::steady_clock;

    // Waits for the device's next bytes and acts on them; the exit code once the download ends.
    std::optional<int> ReceiveStep()
    {
        // While the device still takes in the image, the bar moves on with what it has taken.
        const bool drawing = m_bar && m_connection.Unacknowledged() > 0;
        const Clock::time_point until = drawing ? std::min(m_stepEnd, Clock::now() + std::chrono::milliseconds(100))
                                                : m_stepEnd;
        if (m_bar && !drawing)
            FinishBar();
        const int received = m_connection.Receive(m_buffer.data(), m_buffer.size(), until);
        const int error = received < 0 ? WSAGetLastError() : 0;
        if (error == WSAETIMEDOUT && Clock::now() < m_stepEnd) {
            DrawBar();
            return std::nullopt;
        }
        FinishBar();
        if (received == 0) {
            m_err << "lanvista-cli: " << m_where << " closed the connection before it reported a result\n";
            return kExitConnection;
        }
        if (received < 0) {
            if (error == WSAETIMEDOUT) {
                m_err << "lanvista-cli: " << m_where << " sent no status message it could act on for "
                      << m_options.timeoutSeconds << " s\n";
                return kExitDevice;
            }
            m_err << "lanvista-cli: the connection to " << m_where << " broke before it reported a result: "
                  << SocketErrorText(error) << '\n';
            return kExitConnection;
        }
        return Act(m_download.Receive(m_replyText, m_buffer.data(), static_cast<std::size_t>(received)));
    }

    std::optional<int> Act(StatusAction action)
    {
        switch (action) {
        case StatusAction::None:
            if (!CanFrameStatus(m_replyText)) {
                m_err << "lanvista-cli: " << m_where << " sent " << m_replyText.size()
                      << " bytes that are no status message it could act on, and can never become one\n";
                return kExitDevice;
            }
            return std::nullopt;
        case StatusAction::SendImage:
            return SendImage();
        case StatusAction::Success:
            m_err << "lanvista-cli: the device reported success\n";
            return kExitSuccess;
        case StatusAction::Failure:
            m_err << "lanvista-cli: the device reported failure\n";
            return kExitDevice;
        }
        return std::nullopt;
    }

    std::optional<int> SendImage()
    {
        const FirmwareImage& bytes = m_download.ImageToSend(m_image);
        if (bytes.empty()) {
            // Asked again after the image went out: the step's time runs on.
            if (m_options.verbose)
                m_err << "lanvista-cli: the device asked for the image again after it was sent\n";
            return std::nullopt;
        }
        if (m_options.showProgress)
            m_bar.emplace(m_err, bytes.size());
        m_total = bytes.size();
        m_sent = 0;
        for (;;) {
            const int error = m_connection.SendAll(bytes.data(), bytes.size(), m_sent, m_options.timeoutSeconds,
                                                   [this] { DrawBar(); });
            if (error == 0)
                break;
            if (error == TcpConnection::kIncoming) {
                // The device speaks mid-transfer: most likely a refusal, acted on at once.
                if (const auto result = ReceiveNow())
                    return result;
                continue;
            }
            // A device that refused and closed shows as a broken send; its verdict may wait unread.
            if (const auto result = ReceiveNow(); result && *result == kExitDevice)
                return result;
            FinishBar();
            return SendFailure(error, m_where, "image", m_options.timeoutSeconds, m_err);
        }
        if (m_download.MarkImageSent())
            m_image.clear();
        m_stepEnd = DeadlineIn(m_options.timeoutSeconds);
        return std::nullopt;
    }

    // Reads what the device has already sent and acts on it.
    std::optional<int> ReceiveNow()
    {
        const int received = m_connection.Receive(m_buffer.data(), m_buffer.size(), Clock::now());
        if (received == 0) {
            FinishBar();
            m_err << "lanvista-cli: " << m_where << " closed the connection after taking " << Taken() << " of "
                  << m_total << " image bytes, before it reported a result\n";
            return kExitConnection;
        }
        if (received < 0)
            return std::nullopt;
        const StatusAction action = m_download.Receive(m_replyText, m_buffer.data(), static_cast<std::size_t>(received));
        if (action == StatusAction::SendImage)
            return std::nullopt;
        if (action != StatusAction::None || !CanFrameStatus(m_replyText)) {
            FinishBar();
            if (action == StatusAction::Failure)
                m_err << "lanvista-cli: the device refused the image after taking " << Taken() << " of " << m_total
                      << " bytes: it reported failure\n";
            else
                return Act(action);
            return kExitDevice;
        }
        return std::nullopt;
    }

    std::size_t Taken() const
    {
        const std::size_t queued = m_connection.Unacknowledged();
        return m_sent > queued ? m_sent - queued : 0;
    }

    void DrawBar()
    {
        if (m_bar)
            m_bar->Update(Taken());
    }

    void FinishBar()
    {
        if (!m_bar)
            return;
        m_bar->Update(Taken());
        m_bar->Finish();
        m_bar.reset();
    }

    TcpConnection& m_connection;
    FirmwareImage& m_image;
    const std::string& m_where;
    const DownloadOptions& m_options;
    std::ostream& m_err;
    FirmwareDownload m_download;
    std::string m_replyText;
    std::array<char, kReceiveSize> m_buffer{};
    Clock::time_point m_stepEnd;
    std::optional<ProgressBar> m_bar;
    std::size_t m_sent = 0;
    std::size_t m_total = 0;
};

} // namespace

std::optional<FirmwareImage> LoadImage(const std::string& path, std::ostream& err)
{
    // The rule looks at the full path, as the dialog's file dialog gives it.
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(PathFromUtf8(path), error);
    if (error || !IsFirmwareImagePath(Utf8Of(full))) {
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

int DownloadImage(FirmwareImage image, std::uint32_t address, unsigned port, const DownloadOptions& options,
                  std::ostream& err)
{
    const std::string where = DottedAddress(address) + " port " + std::to_string(port);
    TcpConnection connection;
    if (const int error = connection.Connect(address, port, DeadlineIn(options.timeoutSeconds)))
        return ConnectFailure(error, where, options.timeoutSeconds, err);
    if (options.verbose)
        err << "lanvista-cli: connected to " << where << ", sending the header for " << image.size() << " bytes\n";
    return Download(connection, image, where, options, err).Run();
}
