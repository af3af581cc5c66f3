#pragma once
// What must hold for any sequence of receives on a download connection, fed to
// FirmwareDownload as the dialog feeds it.

#include "fuzz/Findings.h"
#include "update/StatusFraming.h"

#include <cstddef>
#include <cstdint>
#include <vector>

/// At most this many bytes arrive in one receive (the connection's buffer).
inline constexpr std::size_t kDownloadReceiveSize = 4096;

struct DownloadRun {
    std::vector<StatusAction> actions;  // every action other than None, in order
    Findings findings;
};

/// The input is a sequence of events, each a two-byte length (low byte first, taken modulo
/// kDownloadReceiveSize + 1) and that many bytes received at once; length 0 is the
/// connection ending, after which a new download starts with the same image.
DownloadRun CheckDownloadInput(const std::uint8_t* data, std::size_t size);
