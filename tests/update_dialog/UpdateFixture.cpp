#include "UpdateFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <gtest/gtest.h>

ImageFolder::ImageFolder()
{
    // A random folder name can spell "bin"; draw again, a bounded number of times.
    for (int attempt = 0; attempt < 20; ++attempt) {
        m_dir = std::make_unique<QTemporaryDir>();
        const QString path = m_dir->path();
        if (!path.contains(QLatin1String("bin")) && !path.contains(QLatin1String("Brimnet_v")))
            break;
    }
    EXPECT_TRUE(m_dir->isValid());
    EXPECT_FALSE(m_dir->path().contains(QLatin1String("bin"))) << m_dir->path().toStdString();
}

std::string ImageFolder::Write(const std::string& name, const QByteArray& bytes)
{
    const QString path = QString::fromStdString(Path(name));
    EXPECT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    EXPECT_EQ(file.write(bytes), bytes.size());
    return path.toStdString();
}

std::string ImageFolder::Path(const std::string& name) const
{
    return m_dir->filePath(QString::fromStdString(name)).toStdString();
}

NetworkSettings DownloadNetwork(quint16 downloadPort, quint16 udpPort)
{
    NetworkSettings network = LoopbackNetwork(udpPort != 0 ? udpPort : FreeUdpPort());
    network.downloadPort = downloadPort;
    return network;
}

void SetLoopbackUpdateAddress(CConfigDlg& dlg)
{
    dlg.m_ctlUpdateIp.SetAddress(127, 0, 0, 1);
}

void Browse(DialogFixture& f, FileDialogRecorder& files, const std::string& path)
{
    files.ExpectPath(path);
    f.Click("browseButton");
}

QByteArray LoadedImage(const CConfigDlg& dlg)
{
    EXPECT_EQ(dlg.m_nImageLength, dlg.m_firmwareImage.size()) << "image length and buffer disagree";
    return QByteArray(reinterpret_cast<const char*>(dlg.m_firmwareImage.data()),
                      static_cast<qsizetype>(dlg.m_firmwareImage.size()));
}

QByteArray FirmwareBytes(qsizetype size, quint32 seed)
{
    QByteArray bytes(size, '\0');
    QRandomGenerator random(seed);
    const qsizetype words = size / 4;
    random.fillRange(reinterpret_cast<quint32*>(bytes.data()), words);
    for (qsizetype i = words * 4; i < size; ++i)
        bytes[i] = static_cast<char>(random.bounded(256));
    return bytes;
}
