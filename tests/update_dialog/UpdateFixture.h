#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "DialogFixture.h"
#include "tests/support/FileDialogRecorder.h"
#include "link/NetworkSettings.h"

/// Files in a temporary folder for Browse to load, removed with it. The folder's own path
/// carries neither of the firmware name markers, so only the names the tests choose decide.
class ImageFolder {
public:
    ImageFolder();
    ~ImageFolder();
    ImageFolder(const ImageFolder&) = delete;
    ImageFolder& operator=(const ImageFolder&) = delete;

    /// Writes bytes to name (sub-folders are made) and returns the full path.
    std::string Write(const std::string& name, const std::string& bytes);
    /// The full path of name, in UTF-8 with the system's separators.
    std::string Path(const std::string& name) const;

private:
    std::filesystem::path m_dir;
};

/// Loopback settings whose download port is downloadPort; udpPort is where a search goes.
NetworkSettings DownloadNetwork(std::uint16_t downloadPort, std::uint16_t udpPort = 0);

/// Puts 127.0.0.1 into the update IP box.
void SetLoopbackUpdateAddress(CConfigDlg& dlg);

/// Presses Browse and answers the file dialog with path.
void Browse(DialogFixture& f, FileDialogRecorder& files, const std::string& path);

/// The dialog's firmware image; checks that the image length agrees with it.
std::string LoadedImage(const CConfigDlg& dlg);

/// size bytes that look like a firmware image: any value, zero bytes included.
std::string FirmwareBytes(std::size_t size, std::uint32_t seed);
