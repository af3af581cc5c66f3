#include "UpdateFixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

namespace {

std::filesystem::path FromUtf8(const std::string& text)
{
    return std::filesystem::path(std::u8string(text.begin(), text.end())).make_preferred();
}

std::string Utf8(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace

ImageFolder::ImageFolder()
{
    // A random folder name can spell "bin"; draw again, a bounded number of times.
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 20; ++attempt) {
        m_dir = std::filesystem::temp_directory_path() / ("lanvista-images-" + std::to_string(random()));
        const std::string path = Utf8(m_dir);
        if (path.find("bin") == std::string::npos && path.find("Brimnet_v") == std::string::npos &&
            std::filesystem::create_directory(m_dir))
            break;
    }
    EXPECT_TRUE(std::filesystem::is_directory(m_dir)) << Utf8(m_dir);
    EXPECT_EQ(Utf8(m_dir).find("bin"), std::string::npos) << Utf8(m_dir);
}

ImageFolder::~ImageFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_dir, ignored);
}

std::string ImageFolder::Write(const std::string& name, const std::string& bytes)
{
    const std::filesystem::path path = FromUtf8(Path(name));
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    EXPECT_FALSE(error) << error.message();
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    EXPECT_TRUE(file.is_open()) << Utf8(path);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    EXPECT_TRUE(file.good()) << Utf8(path);
    return Utf8(path);
}

std::string ImageFolder::Path(const std::string& name) const
{
    return Utf8(m_dir / FromUtf8(name));
}

NetworkSettings DownloadNetwork(std::uint16_t downloadPort, std::uint16_t udpPort)
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
    f.Click(IDC_BROWSE);
}

std::string LoadedImage(const CConfigDlg& dlg)
{
    EXPECT_EQ(dlg.m_nImageLength, dlg.m_firmwareImage.size()) << "image length and buffer disagree";
    return std::string(reinterpret_cast<const char*>(dlg.m_firmwareImage.data()), dlg.m_firmwareImage.size());
}

std::string FirmwareBytes(std::size_t size, std::uint32_t seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string bytes(size, '\0');
    for (char& b : bytes)
        b = static_cast<char>(byte(random));
    return bytes;
}
