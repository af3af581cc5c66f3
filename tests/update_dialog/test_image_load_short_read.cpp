// An image file whose size promises more than a read delivers: sysfs reports a page for its
// attribute files, which only Linux has.
#include <QFile>

#include <gtest/gtest.h>

#include <string>

#include "UpdateFixture.h"
#include "tests/support/MessageBoxRecorder.h"

namespace {

// A file whose size promises more than a read delivers: sysfs reports a page for its
// attribute files. Reached through a link whose name passes the name rules.
std::string ShortReadSource()
{
    for (const char* candidate : {"/sys/class/net/lo/address", "/sys/kernel/mm/transparent_hugepage/enabled"}) {
        QFile file(QString::fromLatin1(candidate));
        if (file.open(QIODevice::ReadOnly) && file.size() > file.readAll().size())
            return candidate;
    }
    return {};
}

}  // namespace

TEST(ImageLoad, ShortReadLeavesNoImage)
{
    const std::string source = ShortReadSource();
    if (source.empty())
        GTEST_SKIP() << "no file here whose size exceeds what a read gives";
    DialogFixture f;
    MessageBoxRecorder boxes;
    FileDialogRecorder files;
    ImageFolder folder;
    Browse(f, files, folder.Write("Brimnet_v1.bin", FirmwareBytes(800, 13)));
    const std::string link = folder.Path("Brimnet_v2.bin");
    ASSERT_TRUE(QFile::link(QString::fromStdString(source), QString::fromStdString(link)));
    const qint64 size = QFile(QString::fromStdString(source)).size();
    const qint64 content = [&] {
        QFile file(QString::fromStdString(source));
        file.open(QIODevice::ReadOnly);
        return static_cast<qint64>(file.readAll().size());
    }();

    boxes.Expect("Can't read the whole file: " + std::to_string(content) + " of " + std::to_string(size) +
                 " bytes.");
    Browse(f, files, link);

    EXPECT_EQ(boxes.Boxes().back().caption, "Warning");
    EXPECT_EQ(f.dialog().m_nImageLength, 0u);
    EXPECT_TRUE(f.dialog().m_firmwareImage.empty());
}

