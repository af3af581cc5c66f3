// update against the test's own devices on 127.0.0.1: a device that never answers, one that
// trickles bytes, a refusal mid-transfer, and the image name and file rules.

#include "cli/ExitCode.h"
#include "tests/cli/CliRun.h"
#include "tests/cli/ImageFolder.h"
#include "tests/cli/TcpDevices.h"
#include "update/FirmwareDownload.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace fs = std::filesystem;

namespace {

CliRun Update(const std::string& image, const CliNetwork& network, const std::string& timeout = "10",
              bool terminal = false)
{
    return RunCliCapturing({"update", "127.0.0.1", image, "--timeout", timeout}, network, terminal);
}

TEST(UpdateConnection, ADeviceThatNeverAnswersEndsAtTheTimeout)
{
    SilentListener device;
    const ImageFolder folder;
    const CliRun run = Update(folder.Write("Brimnet_v1.bin"), LoopbackNetwork(0, device.port()), "0.3");
    EXPECT_EQ(run.exitCode, kExitDevice);
    EXPECT_NE(run.err.find("no status message it could act on for 0.3 s"), std::string::npos) << run.err;
}

TEST(UpdateConnection, BytesTricklingInDoNotStretchTheTimeout)
{
    // A byte now and then that never makes a status: each one used to restart the wait.
    ScriptedDevice device([](SOCKET connection) {
        for (int i = 0; i < 200; ++i) {
            if (!SendToTool(connection, "x", 1))
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
    ScriptedDevice device([](SOCKET connection) {
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
                                         // A folder named in Korean: beyond Windows' ANSI code page.
                                         Name{"펌웨어/Brimnet_v1.2.bin", true},
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
