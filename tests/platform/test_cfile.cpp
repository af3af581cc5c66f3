#include "platform/CFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A folder of its own per test, removed with the fixture.
class CFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = fs::temp_directory_path() / (std::string("lanvista-cfile-") + info->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    /// Writes `bytes` to the file `name` (UTF-8) in the folder; returns its path as UTF-8.
    std::string Write(const std::u8string& name, const std::string& bytes) const
    {
        const fs::path path = folder_ / fs::path(name);
        std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return Utf8(path);
    }
    std::string Utf8(const fs::path& path) const
    {
        const std::u8string text = path.u8string();
        return std::string(text.begin(), text.end());
    }

    fs::path folder_;
};

std::string Bytes(std::size_t size)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + 3) & 0xFF);
    return bytes;
}

struct NamedFile {
    const char8_t* name;
    std::size_t size;
};

class CFileReadsTest : public CFileTest, public ::testing::WithParamInterface<NamedFile> {};

TEST_P(CFileReadsTest, ReadsTheWholeFileThenNothing)
{
    const std::string bytes = Bytes(GetParam().size);
    const std::string path = Write(GetParam().name, bytes);

    CFile file;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeRead));
    EXPECT_EQ(file.GetLength(), bytes.size());
    std::vector<char> buffer(bytes.size() + 16, '\x55');
    const UINT read = file.Read(buffer.data(), static_cast<UINT>(buffer.size()));
    ASSERT_EQ(read, bytes.size());
    EXPECT_EQ(std::string(buffer.data(), read), bytes);
    EXPECT_EQ(buffer[read], '\x55') << "nothing written past what was read";
    EXPECT_EQ(file.Read(buffer.data(), static_cast<UINT>(buffer.size())), 0u);
}

// The empty image, a plain name, a name outside ASCII (the layer's texts are UTF-8), and a
// file larger than one read of the system hands over at once.
INSTANTIATE_TEST_SUITE_P(Files, CFileReadsTest,
                         ::testing::Values(NamedFile{u8"empty.bin", 0}, NamedFile{u8"image.bin", 1000},
                                           NamedFile{u8"펌웨어 ü.bin", 333},
                                           NamedFile{u8"large.bin", 9 * 1024 * 1024 + 17}));

TEST_F(CFileTest, ReadsInPiecesFromWhereTheLastReadEnded)
{
    const std::string bytes = Bytes(10);
    const std::string path = Write(u8"pieces.bin", bytes);
    CFile file;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeRead));
    char first[4]{}, rest[16]{};
    ASSERT_EQ(file.Read(first, sizeof first), 4u);
    ASSERT_EQ(file.Read(rest, sizeof rest), 6u);
    EXPECT_EQ(std::string(first, 4) + std::string(rest, 6), bytes);
}

TEST_F(CFileTest, DoesNotOpenWhatIsNotAReadableFile)
{
    fs::create_directories(folder_ / "folder.bin");
    const std::vector<std::string> paths = {
        Utf8(folder_ / "missing.bin"),
        Utf8(folder_ / "folder.bin"),
        "",
        std::string("bad-\xff\xfe.bin"),  // not UTF-8
    };
    for (const std::string& path : paths) {
        CFile file;
        EXPECT_FALSE(file.Open(path.c_str(), CFile::modeRead)) << path;
        char byte = 0;
        EXPECT_EQ(file.Read(&byte, 1), 0u) << path;
        EXPECT_EQ(file.GetLength(), 0u) << path;
    }
}

TEST_F(CFileTest, AClosedOrReopenedFileReadsOnlyTheNewFile)
{
    const std::string a = Write(u8"a.bin", "first");
    const std::string b = Write(u8"b.bin", "second!");
    CFile file;
    ASSERT_TRUE(file.Open(a.c_str(), CFile::modeRead));
    ASSERT_TRUE(file.Open(b.c_str(), CFile::modeRead));
    char buffer[16]{};
    ASSERT_EQ(file.Read(buffer, sizeof buffer), 7u);
    EXPECT_EQ(std::string(buffer, 7), "second!");
    file.Close();
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 0u);
    EXPECT_EQ(file.GetLength(), 0u);
}

}  // namespace
