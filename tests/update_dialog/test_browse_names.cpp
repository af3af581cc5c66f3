// Browse accepts an image by the markers in its full path, then loads it; everything else
// is refused with one message and leaves the loaded image alone.

#include <gtest/gtest.h>

#include <string>

#include "UpdateFixture.h"
#include "tests/support/MessageBoxRecorder.h"

namespace {

constexpr const char kCantOpen[] = "Can't Open File !";

class BrowseFixture {
protected:
    // An earlier image, so that a refusal can be seen to keep it.
    BrowseFixture()
    {
        earlierPath = folder.Write("earlier/Brimnet_v0.bin", earlier);
        Browse(f, files, earlierPath);
    }

    std::string ShownFileName() { return f.Text(IDC_UPDATE_FILE); }

    void ExpectRefusalLooksRight()
    {
        ASSERT_FALSE(boxes.Boxes().empty());
        const MessageBoxRequest& box = boxes.Boxes().back();
        EXPECT_EQ(box.caption, "Warning");
        EXPECT_EQ(box.type & MB_ICONMASK, MB_ICONSTOP);
        EXPECT_EQ(LoadedImage(f.dialog()), earlier);
    }

    DialogFixture f;
    MessageBoxRecorder boxes;
    FileDialogRecorder files;
    ImageFolder folder;
    const std::string earlier = FirmwareBytes(700, 9);
    std::string earlierPath;
};

struct NameCase {
    const char* name;
    const char* path;  // inside the test's folder
    bool accepted;
};

const NameCase kNameCases[] = {
    {"MarkerAndBinExtension", "fw/Brimnet_v1.2.bin", true},
    {"MarkerInLowerCase", "fw/brimnet_v1.2.bin", false},
    {"ExtensionInUpperCase", "fw/Brimnet_v1.2.BIN", false},
    {"BinInTheDirectoryName", "bin/Brimnet_v1.2.BIN", true},
    {"BinInsideALongerDirectoryName", "cabinet/Brimnet_v1.2.img", true},
    {"MarkerInTheDirectoryName", "Brimnet_v1.2/image.bin", true},
    {"NoMarker", "fw/firmware.bin", false},
};

class BrowseNames : public BrowseFixture, public testing::TestWithParam<NameCase> {};

}  // namespace

TEST_P(BrowseNames, AcceptOnlyPathsWithBothMarkers)
{
    const NameCase& c = GetParam();
    const std::string image = FirmwareBytes(1500, 10);
    const std::string path = folder.Write(c.path, image);
    if (!c.accepted)
        boxes.Expect(kCantOpen);
    Browse(f, files, path);

    EXPECT_EQ(f.dialog().m_strUpdateFile, path);
    if (c.accepted) {
        EXPECT_EQ(LoadedImage(f.dialog()), image);
        EXPECT_EQ(ShownFileName(), path);
    } else {
        ExpectRefusalLooksRight();
        // The box is refreshed only by the next exchange towards the controls.
        EXPECT_EQ(ShownFileName(), earlierPath);
    }
}

INSTANTIATE_TEST_SUITE_P(Paths, BrowseNames, testing::ValuesIn(kNameCases),
                         [](const testing::TestParamInfo<NameCase>& info) { return info.param.name; });

class Browsing : public BrowseFixture, public testing::Test {};

TEST_F(Browsing, OffersAnOpenDialogForBinaryFiles)
{
    ASSERT_EQ(files.Requests().size(), 1u);
    const FileDialogRequest& request = files.Requests().front();
    EXPECT_TRUE(request.open);
    EXPECT_EQ(request.qtFilter, QtFilterFromWindowsFilter("Binary File (*.bin)|*.bin|All Files (*.*)|*.*||"));
    EXPECT_EQ(request.flags & (OFN_HIDEREADONLY | OFN_NOCHANGEDIR), OFN_HIDEREADONLY | OFN_NOCHANGEDIR);
    EXPECT_EQ(request.flags & OFN_FILEMUSTEXIST, 0u);
}

TEST_F(Browsing, CancelChangesNothing)
{
    const std::string trace = f.dialog().m_strTrace;
    files.ExpectCancel();
    f.Click(IDC_BROWSE);

    EXPECT_EQ(f.dialog().m_strUpdateFile, earlierPath);
    EXPECT_EQ(ShownFileName(), earlierPath);
    EXPECT_EQ(f.dialog().m_strTrace, trace);
    EXPECT_EQ(LoadedImage(f.dialog()), earlier);
}

struct UnopenableCase {
    const char* name;
    bool makeDirectory;
};

class BrowseUnopenable : public BrowseFixture, public testing::TestWithParam<UnopenableCase> {};

TEST_P(BrowseUnopenable, KeepsTheEarlierImageButShowsTheNewPath)
{
    const std::string path = folder.Path("fw/Brimnet_v9.bin");
    if (GetParam().makeDirectory) {
        ASSERT_TRUE(std::filesystem::create_directories(std::filesystem::path(std::u8string(path.begin(), path.end()))));
    }
    boxes.Expect(kCantOpen);
    Browse(f, files, path);

    ExpectRefusalLooksRight();
    EXPECT_EQ(ShownFileName(), path);
}

INSTANTIATE_TEST_SUITE_P(Files, BrowseUnopenable,
                         testing::Values(UnopenableCase{"Missing", false}, UnopenableCase{"Directory", true}),
                         [](const testing::TestParamInfo<UnopenableCase>& info) { return info.param.name; });
