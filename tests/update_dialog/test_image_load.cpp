// Loading the chosen file: the whole file in one read, the trace of what was loaded, and
// never a partial image.
#include <QFile>

#include <gtest/gtest.h>

#include <string>

#include "UpdateFixture.h"
#include "tests/support/MessageBoxRecorder.h"

namespace {

struct TraceCase {
    const char* name;
    QByteArray content;
    const char* trace;
};

const TraceCase kTraceCases[] = {
    {"EmptyFile", {}, " Len: 0, 0"},
    {"ZeroFirstByte", QByteArray(1, '\0') + QByteArray(999, 'a'), " Len: 0, 1000"},
    {"ZeroInTheMiddle", QByteArray(400, 'a') + QByteArray(1, '\0') + QByteArray(599, 'b'), " Len: 400, 1000"},
    {"NoZeroByte", QByteArray(1000, 'a'), " Len: 1000, 1000"},
};

class ImageTrace : public testing::TestWithParam<TraceCase> {};

}  // namespace

TEST_P(ImageTrace, GivesTheTextLengthAndTheImageLength)
{
    const TraceCase& c = GetParam();
    DialogFixture f;
    FileDialogRecorder files;
    ImageFolder folder;
    f.dialog().m_strTrace = "earlier trace";
    Browse(f, files, folder.Write("Brimnet_v1.bin", c.content));

    EXPECT_EQ(f.dialog().m_strTrace, c.trace);
    EXPECT_EQ(LoadedImage(f.dialog()), c.content);
}

INSTANTIATE_TEST_SUITE_P(Images, ImageTrace, testing::ValuesIn(kTraceCases),
                         [](const testing::TestParamInfo<TraceCase>& info) { return info.param.name; });

TEST(ImageLoad, ShorterSecondFileLeavesNothingOfTheFirst)
{
    DialogFixture f;
    FileDialogRecorder files;
    ImageFolder folder;
    Browse(f, files, folder.Write("Brimnet_v1.bin", FirmwareBytes(5000, 11)));
    const QByteArray second = FirmwareBytes(1200, 12);
    Browse(f, files, folder.Write("Brimnet_v2.bin", second));

    EXPECT_EQ(LoadedImage(f.dialog()), second);
}

namespace {

// Around page boundaries and large enough for a buffer of its own mapping.
const qsizetype kSnapshotSizes[] = {1, 4095, 4097, (3 << 20) + 7};

}  // namespace

// The image is a copy taken at load time: a file rewritten or cut short afterwards changes
// nothing of it.
TEST(ImageLoad, LaterChangesToTheFileLeaveTheImage)
{
    for (const qsizetype size : kSnapshotSizes) {
        SCOPED_TRACE(size);
        DialogFixture f;
        FileDialogRecorder files;
        ImageFolder folder;
        const QByteArray original = FirmwareBytes(size, 21);
        const std::string path = folder.Write("Brimnet_v1.bin", original);
        Browse(f, files, path);
        ASSERT_EQ(LoadedImage(f.dialog()), original);

        QFile file(QString::fromStdString(path));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_EQ(file.write(FirmwareBytes(size, 22)), size);
        ASSERT_TRUE(file.flush());
        EXPECT_EQ(LoadedImage(f.dialog()), original);
        ASSERT_TRUE(file.resize(size / 2));
        file.close();
        EXPECT_EQ(LoadedImage(f.dialog()), original);
    }
}

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

// Larger than one send can carry; the file is sparse, so it costs no disk.
TEST(ImageLoad, OversizedFileLeavesNoImage)
{
    DialogFixture f;
    MessageBoxRecorder boxes;
    FileDialogRecorder files;
    ImageFolder folder;
    Browse(f, files, folder.Write("Brimnet_v1.bin", FirmwareBytes(800, 14)));
    const std::string path = folder.Write("Brimnet_v2.bin", {});
    constexpr qint64 kSize = 3LL * 1024 * 1024 * 1024;
    ASSERT_TRUE(QFile::resize(QString::fromStdString(path), kSize));

    boxes.Expect("The file is too large to load: " + std::to_string(kSize) + " bytes.");
    Browse(f, files, path);

    EXPECT_EQ(boxes.Boxes().back().caption, "Warning");
    EXPECT_EQ(f.dialog().m_nImageLength, 0u);
    EXPECT_TRUE(f.dialog().m_firmwareImage.empty());
}
