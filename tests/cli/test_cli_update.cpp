// update against devsim's download port and the test's own listener on 127.0.0.1: the
// device's verdict, a connection that fails or ends early, and the image name rule.

#include "cli/ExitCode.h"
#include "tests/cli/CliRun.h"
#include "tests/devsim/DevsimProcess.h"
#include "update/FirmwareDownload.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kImageSize = 200000;

// A folder of the test's own whose path holds neither part of the name rule by chance.
class ImageFolder {
public:
    ImageFolder() : m_root(fs::temp_directory_path() / ("lanvista-cli-test-" + std::to_string(::getpid())))
    {
        fs::remove_all(m_root);
        fs::create_directories(m_root);
    }
    ~ImageFolder() { fs::remove_all(m_root); }

    // Writes an image of size bytes (every byte value, zero included) at the relative path.
    std::string Write(const std::string& relative, std::size_t size = kImageSize) const
    {
        const fs::path path = m_root / relative;
        fs::create_directories(path.parent_path());
        std::ofstream file(path, std::ios::binary);
        for (std::size_t i = 0; i < size; ++i)
            file.put(static_cast<char>(i * 7 + i / 256));
        return path.string();
    }
    const fs::path& root() const { return m_root; }

private:
    fs::path m_root;
};

// A TCP port that takes connections into its backlog and never answers.
class SilentListener {
public:
    SilentListener()
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        ::listen(m_fd, 4);
        socklen_t length = sizeof address;
        ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
    }
    ~SilentListener() { ::close(m_fd); }
    std::uint16_t port() const { return m_port; }
    bool connectionWaiting() const
    {
        pollfd readable{m_fd, POLLIN, 0};
        return ::poll(&readable, 1, 0) == 1;
    }

private:
    int m_fd = -1;
    std::uint16_t m_port = 0;
};

// A device on a TCP port of 127.0.0.1 that plays its one connection by the test's script.
class ScriptedDevice {
public:
    explicit ScriptedDevice(std::function<void(int)> script)
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        ::listen(m_fd, 1);
        socklen_t length = sizeof address;
        ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this, script = std::move(script)] {
            pollfd waiting{m_fd, POLLIN, 0};
            if (::poll(&waiting, 1, 20000) != 1)
                return;
            const int connection = ::accept(m_fd, nullptr, nullptr);
            script(connection);
            ::close(connection);
        });
    }
    ~ScriptedDevice()
    {
        m_thread.join();
        ::close(m_fd);
    }
    std::uint16_t port() const { return m_port; }

private:
    int m_fd = -1;
    std::uint16_t m_port = 0;
    std::thread m_thread;
};

void SendStatus(int connection, unsigned char code)
{
    const auto status = BuildStatusMessage(code, code);
    ::send(connection, status.data(), status.size(), MSG_NOSIGNAL);
}

// Reads until count bytes have come or the connection ends.
void Take(int connection, std::size_t count)
{
    char buffer[4096];
    for (std::size_t taken = 0; taken < count;) {
        const ssize_t n = ::recv(connection, buffer, std::min(sizeof buffer, count - taken), 0);
        if (n <= 0)
            return;
        taken += static_cast<std::size_t>(n);
    }
}

CliRun Update(const std::string& image, const CliNetwork& network, const std::string& timeout = "10",
              bool terminal = false)
{
    return RunCliCapturing({"update", "127.0.0.1", image, "--timeout", timeout}, network, terminal);
}

struct Verdict {
    const char* name;
    std::vector<QString> devsimOptions;
    int exitCode;
    const char* message;
};

class UpdateAgainstDevsim : public testing::TestWithParam<Verdict> {};

TEST_P(UpdateAgainstDevsim, EndsWithTheDevicesVerdictOrTheConnectionsEnd)
{
    QStringList options{"--quiet"};
    for (const QString& option : GetParam().devsimOptions)
        options << option;
    DevsimProcess devsim(options);
    ASSERT_TRUE(devsim.isReady()) << devsim.errorText().toStdString();
    const ImageFolder folder;
    const CliRun run = Update(folder.Write("fw/Brimnet_v1.2.bin"), DevsimNetwork(devsim));
    EXPECT_EQ(run.exitCode, GetParam().exitCode) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UpdateAgainstDevsim,
    testing::Values(
        Verdict{"Success", {}, kExitSuccess, "the device reported success"},
        Verdict{"SplitStatus", {"--split-status"}, kExitSuccess, "the device reported success"},
        Verdict{"Failure", {"--nak-before-request"}, kExitDevice, "the device reported failure"},
        Verdict{"ClosedMidTransfer", {"--close-mid-transfer"}, kExitConnection, "127.0.0.1 port"},
        Verdict{"ResetMidTransfer", {"--reset"}, kExitConnection, "127.0.0.1 port"}),
    [](const testing::TestParamInfo<Verdict>& info) { return info.param.name; });

TEST(UpdateConnection, RefusedNamesTheDevice)
{
    DevsimProcess devsim({"--refuse", "--quiet"});
    ASSERT_TRUE(devsim.isReady()) << devsim.errorText().toStdString();
    const ImageFolder folder;
    const CliRun run = Update(folder.Write("Brimnet_v1.bin"), DevsimNetwork(devsim));
    EXPECT_EQ(run.exitCode, kExitConnection);
    EXPECT_NE(run.err.find("127.0.0.1 port " + std::to_string(devsim.tcpPort()) + " refused the connection"),
              std::string::npos)
        << run.err;
}

TEST(UpdateConnection, ADeviceThatNeverAnswersEndsAtTheTimeout)
{
    SilentListener device;
    const ImageFolder folder;
    const CliRun run = Update(folder.Write("Brimnet_v1.bin"), LoopbackNetwork(0, device.port()), "0.3");
    EXPECT_EQ(run.exitCode, kExitDevice);
    EXPECT_NE(run.err.find("no status message it could act on for 0.3 s"), std::string::npos) << run.err;
}

TEST(UpdateConnection, AStatusThatIsNeverRecognisedEndsAtOnce)
{
    // An unknown status stays in the reply text, so no status can ever be framed after it: the
    // dialog waits for ever there, the tool ends at once instead of waiting out its timeout.
    DevsimProcess devsim({"--unknown-status", "--quiet"});
    ASSERT_TRUE(devsim.isReady()) << devsim.errorText().toStdString();
    const ImageFolder folder;
    const CliRun run = Update(folder.Write("Brimnet_v1.bin"), DevsimNetwork(devsim), "600");
    EXPECT_EQ(run.exitCode, kExitDevice);
    EXPECT_NE(run.err.find("can never become one"), std::string::npos) << run.err;
}

TEST(UpdateConnection, BytesTricklingInDoNotStretchTheTimeout)
{
    // A byte now and then that never makes a status: each one used to restart the wait.
    ScriptedDevice device([](int connection) {
        for (int i = 0; i < 200; ++i) {
            if (::send(connection, "x", 1, MSG_NOSIGNAL) != 1)
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    });
    const ImageFolder folder;
    const auto start = std::chrono::steady_clock::now();
    const CliRun run = Update(folder.Write("Brimnet_v1.bin"), LoopbackNetwork(0, device.port()), "0.5");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(run.exitCode, kExitDevice);
    EXPECT_NE(run.err.find("no status message it could act on for 0.5 s"), std::string::npos) << run.err;
}

TEST(UpdateConnection, ARefusalWhileTheImageIsSentIsTheDevicesVerdict)
{
    // The device takes a little of the image, says NAK and hangs up on the rest.
    ScriptedDevice device([](int connection) {
        Take(connection, 1);
        SendStatus(connection, kStatusImageRequest);
        Take(connection, 64 * 1024);
        SendStatus(connection, kStatusFailure);
    });
    const ImageFolder folder;
    const CliRun run = Update(folder.Write("Brimnet_v1.bin", 32 * 1024 * 1024), LoopbackNetwork(0, device.port()));
    EXPECT_EQ(run.exitCode, kExitDevice) << run.err;
    EXPECT_NE(run.err.find("the device refused the image after taking"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("it reported failure"), std::string::npos) << run.err;
}

TEST(UpdateProgress, IsDrawnOnATerminalOnly)
{
    DevsimProcess devsim({"--quiet"});
    ASSERT_TRUE(devsim.isReady()) << devsim.errorText().toStdString();
    const ImageFolder folder;
    const std::string image = folder.Write("Brimnet_v1.bin");

    const CliRun terminal = Update(image, DevsimNetwork(devsim), "10", true);
    ASSERT_EQ(terminal.exitCode, kExitSuccess) << terminal.err;
    EXPECT_NE(terminal.err.find("\r[##############################] 100%  200000/200000 bytes  "), std::string::npos)
        << terminal.err;

    const CliRun quiet = Update(image, DevsimNetwork(devsim), "10", false);
    ASSERT_EQ(quiet.exitCode, kExitSuccess) << quiet.err;
    EXPECT_EQ(quiet.err, "lanvista-cli: the device reported success\n");
}

struct Name {
    const char* path;  // under the test's folder
    bool accepted;
};

class UpdateImageName : public testing::TestWithParam<Name> {};

TEST_P(UpdateImageName, FollowsTheBrowseRuleOnTheFullPath)
{
    SilentListener device;
    const ImageFolder folder;
    const CliRun run = Update(folder.Write(GetParam().path), LoopbackNetwork(0, device.port()), "0.2");
    if (GetParam().accepted) {
        // Past the rule: connected, header sent, then no status from this device.
        EXPECT_EQ(run.exitCode, kExitDevice) << run.err;
        EXPECT_TRUE(device.connectionWaiting());
    } else {
        EXPECT_EQ(run.exitCode, kExitImage);
        EXPECT_NE(run.err.find("its full path must contain \"Brimnet_v\" and \"bin\""), std::string::npos) << run.err;
        EXPECT_FALSE(device.connectionWaiting());
    }
}

INSTANTIATE_TEST_SUITE_P(Paths, UpdateImageName,
                         testing::Values(Name{"fw/Brimnet_v1.2.bin", true}, Name{"bin/Brimnet_v1.2.BIN", true},
                                         Name{"cabinet/Brimnet_v1.2.img", true},
                                         Name{"fw/brimnet_v1.2.bin", false}, Name{"fw/Brimnet_v1.2.BIN", false},
                                         Name{"fw/firmware.bin", false}));

TEST(UpdateImageName, JudgesARelativeNameByItsFullPath)
{
    const ImageFolder folder;
    folder.Write("bin/Brimnet_v1.2.img");
    folder.Write("fw/Brimnet_v1.2.img");
    SilentListener device;
    const fs::path before = fs::current_path();

    fs::current_path(folder.root() / "bin");
    const CliRun inBin = Update("Brimnet_v1.2.img", LoopbackNetwork(0, device.port()), "0.2");
    fs::current_path(folder.root() / "fw");
    const CliRun inFw = Update("Brimnet_v1.2.img", LoopbackNetwork(0, device.port()), "0.2");
    fs::current_path(before);

    EXPECT_EQ(inBin.exitCode, kExitDevice) << inBin.err;
    EXPECT_EQ(inFw.exitCode, kExitImage) << inFw.err;
}

TEST(UpdateImageFile, MissingEmptyOrTooLargeIsRefusedBeforeConnecting)
{
    SilentListener device;
    const ImageFolder folder;
    const CliRun missing = Update((folder.root() / "Brimnet_v9.bin").string(), LoopbackNetwork(0, device.port()));
    EXPECT_EQ(missing.exitCode, kExitImage);
    EXPECT_NE(missing.err.find("cannot open"), std::string::npos) << missing.err;

    const CliRun empty = Update(folder.Write("Brimnet_v0.bin", 0), LoopbackNetwork(0, device.port()));
    EXPECT_EQ(empty.exitCode, kExitImage);
    EXPECT_NE(empty.err.find("is empty"), std::string::npos) << empty.err;

    // Sparse: one byte past what a header's length field and one send can carry.
    const std::string huge = folder.Write("Brimnet_v8.bin", 0);
    fs::resize_file(huge, kMaxImageSize + 1);
    const CliRun tooLarge = Update(huge, LoopbackNetwork(0, device.port()));
    EXPECT_EQ(tooLarge.exitCode, kExitImage);
    EXPECT_NE(tooLarge.err.find("too large"), std::string::npos) << tooLarge.err;
    EXPECT_FALSE(device.connectionWaiting());
}

} // namespace
