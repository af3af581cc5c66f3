// Firmware download with the built-in settings: a TCP connection to port 26600 of a device's
// address on the other side of the link, after a search found that address.
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

#include "LabTest.h"
#include "tests/support/FileDialogRecorder.h"
#include "tests/support/Wait.h"

namespace {

// Larger than a TCP window of the link, so the image crosses in many segments.
constexpr qsizetype kImageSize = 300 * 1024;

class LabDownload : public LabTest {
protected:
    void SetUp() override
    {
        LabTest::SetUp();
        ASSERT_TRUE(images.isValid());
        image = images.filePath("Brimnet_v3.08.bin");
        QFile file(image);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        std::vector<quint32> words(kImageSize / sizeof(quint32));
        QRandomGenerator(6).fillRange(words.data(), words.size());
        ASSERT_EQ(file.write(reinterpret_cast<const char*>(words.data()), kImageSize), kImageSize);
    }

    void LoadImage()
    {
        files.ExpectPath(image.toStdString());
        f.Click(IDC_BROWSE);
        ASSERT_EQ(f.dialog().m_nImageLength, static_cast<std::uint32_t>(kImageSize));
    }

    // Starts the update to an address and waits for the verdict.
    void UpdateAt(std::uint32_t address, const char* verdict)
    {
        f.dialog().m_ctlUpdateIp.SetAddress(address);
        boxes.Expect(verdict);
        f.Click(IDC_START_UPDATE);
        EXPECT_TRUE(WaitUntil([&] { return boxes.Pending() == 0; }, 10000))
            << "no verdict from " << DottedAddress(address);
        EXPECT_EQ(f.dialog().m_pDownload, nullptr);
    }

    QTemporaryDir images;
    QString image;
    FileDialogRecorder files;
};

}  // namespace

TEST_F(LabDownload, ADeviceFoundBySearchTakesTheImage)
{
    SearchAll();
    const LabDevice& device = lab.devices.at(1);
    ASSERT_NE(RowOf(device.macText), -1);
    f.ClickDeviceListRow(RowOf(device.macText));
    const DWORD shown = Shown(f.dialog().m_ctlIp);
    ASSERT_EQ(shown, device.ip);
    LoadImage();

    UpdateAt(shown, "Success Program Download!");

    EXPECT_EQ(f.dialog().m_nImageLength, 0u) << "a sent image is discarded";
    EXPECT_TRUE(f.DeviceList().empty()) << "the connect ends discovery";
}

TEST_F(LabDownload, ADeviceThatRefusesTheImageReportsFailureAndTheImageStays)
{
    LoadImage();

    UpdateAt(lab.nakDevice.ip, "Fail Program Download!");

    EXPECT_EQ(f.dialog().m_nImageLength, static_cast<std::uint32_t>(kImageSize));
    // The same image goes to a good device next, on a new connection.
    UpdateAt(lab.devices.front().ip, "Success Program Download!");
}
