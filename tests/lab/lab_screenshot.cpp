// Draws the dialog as it stands in the lab after a search, every device listed and one
// shown, into the PNG file named by LANVISTA_SCREENSHOT. Run by lab/screenshot.sh; not a
// CTest test.
#include <QPixmap>
#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

#include "LabTest.h"

namespace {

using LabScreenshot = LabTest;

}  // namespace

TEST_F(LabScreenshot, DialogAfterASearch)
{
    const QString path = qEnvironmentVariable("LANVISTA_SCREENSHOT");
    ASSERT_FALSE(path.isEmpty()) << "LANVISTA_SCREENSHOT names no file";
    SearchAll();
    // With a second segment, one of its devices: the picture shows it was found.
    const LabDevice& device =
        lab.secondDevices.empty() ? lab.devices.at(lab.devices.size() / 2) : lab.secondDevices.back();
    ASSERT_NE(RowOf(device.macText), -1);
    f.ClickDeviceListRow(RowOf(device.macText));
    ASSERT_EQ(Shown(f.dialog().m_ctlIp), device.ip);

    EXPECT_TRUE(f.window()->grab().save(path, "PNG")) << "cannot write " << path.toStdString();
}
