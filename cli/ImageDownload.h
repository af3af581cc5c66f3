#pragma once
// A firmware image as the tool loads it, and one download into one device.

#include "update/FirmwareDownload.h"

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

struct DownloadOptions {
    double timeoutSeconds = 60;  // the longest wait for the device at any step
    bool verbose = false;
    bool showProgress = false;  // a progress bar on err while the image is sent
};

/// The image under the dialog's Browse rule, or std::nullopt with the reason written to err.
std::optional<FirmwareImage> LoadImage(const std::string& path, std::ostream& err);

/// Downloads image into the device at address: its status messages drive the download, and
/// the timeout bounds every step however many bytes trickle in meanwhile. The exit code
/// (kExitSuccess once the device reported success); messages to err.
int DownloadImage(FirmwareImage image, std::uint32_t address, unsigned port, const DownloadOptions& options,
                  std::ostream& err);
