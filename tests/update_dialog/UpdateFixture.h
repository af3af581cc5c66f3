#pragma once

#include <QByteArray>
#include <QTemporaryDir>

#include <memory>
#include <string>

#include "DialogFixture.h"
#include "tests/support/FileDialogRecorder.h"
#include "link/NetworkSettings.h"

/// Files in a temporary folder for Browse to load. The folder's own path carries neither
/// of the firmware name markers, so only the names the tests choose decide.
class ImageFolder {
public:
    ImageFolder();

    /// Writes bytes to name (sub-folders are made) and returns the full path.
    std::string Write(const std::string& name, const QByteArray& bytes);
    std::string Path(const std::string& name) const;

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

/// Loopback settings whose download port is downloadPort; udpPort is where a search goes.
NetworkSettings DownloadNetwork(quint16 downloadPort, quint16 udpPort = 0);

/// Puts 127.0.0.1 into the update IP box.
void SetLoopbackUpdateAddress(CConfigDlg& dlg);

/// Presses Browse and answers the file dialog with path.
void Browse(DialogFixture& f, FileDialogRecorder& files, const std::string& path);

/// The dialog's firmware image; checks that the image length agrees with it.
QByteArray LoadedImage(const CConfigDlg& dlg);

/// size bytes that look like a firmware image: any value, zero bytes included.
QByteArray FirmwareBytes(qsizetype size, quint32 seed);
