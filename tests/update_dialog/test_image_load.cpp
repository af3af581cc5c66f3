// Loading the chosen file: the whole file in one read, the trace of what was loaded, and
// never a partial image.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "UpdateFixture.h"
#include "tests/support/MessageBoxRecorder.h"

namespace {

struct TraceCase {
    const char* name;
    std::string content;
    const char* trace;
};

const TraceCase kTraceCases[] = {
    {"EmptyFile", {}, " Len: 0, 0"},
    {"ZeroFirstByte", std::string(1, '\0') + std::string(999, 'a'), " Len: 0, 1000"},
    {"ZeroInTheMiddle", std::string(400, 'a') + std::string(1, '\0') + std::string(599, 'b'), " Len: 400, 1000"},
    {"NoZeroByte", std::string(1000, 'a'), " Len: 1000, 1000"},
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
    const std::string second = FirmwareBytes(1200, 12);
    Browse(f, files, folder.Write("Brimnet_v2.bin", second));

    EXPECT_EQ(LoadedImage(f.dialog()), second);
}

namespace {

// Around page boundaries and large enough for a buffer of its own mapping.
const std::size_t kSnapshotSizes[] = {1, 4095, 4097, (3 << 20) + 7};

}  // namespace

// The image is a copy taken at load time: a file rewritten or cut short afterwards changes
// nothing of it.
TEST(ImageLoad, LaterChangesToTheFileLeaveTheImage)
{
    for (const std::size_t size : kSnapshotSizes) {
        SCOPED_TRACE(size);
        DialogFixture f;
        FileDialogRecorder files;
        ImageFolder folder;
        const std::string original = FirmwareBytes(size, 21);
        const std::string path = folder.Write("Brimnet_v1.bin", original);
        Browse(f, files, path);
        ASSERT_EQ(LoadedImage(f.dialog()), original);

        const std::filesystem::path file(std::u8string(path.begin(), path.end()));
        std::fstream stream(file, std::ios::in | std::ios::out | std::ios::binary);
        ASSERT_TRUE(stream.is_open());
        const std::string rewritten = FirmwareBytes(size, 22);
        stream.write(rewritten.data(), static_cast<std::streamsize>(size));
        ASSERT_TRUE(stream.flush());
        EXPECT_EQ(LoadedImage(f.dialog()), original);
        stream.close();
        std::filesystem::resize_file(file, size / 2);
        EXPECT_EQ(LoadedImage(f.dialog()), original);
    }
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
    constexpr std::uintmax_t kSize = 3ULL * 1024 * 1024 * 1024;
    std::filesystem::resize_file(std::filesystem::path(std::u8string(path.begin(), path.end())), kSize);

    boxes.Expect("The file is too large to load: " + std::to_string(kSize) + " bytes.");
    Browse(f, files, path);

    EXPECT_EQ(boxes.Boxes().back().caption, "Warning");
    EXPECT_EQ(f.dialog().m_nImageLength, 0u);
    EXPECT_TRUE(f.dialog().m_firmwareImage.empty());
}
