#pragma once
// A folder of the test's own for firmware images, whose path holds neither part of the
// image name rule by chance; removed with everything in it.

#include <cstddef>
#include <filesystem>
#include <string>

class ImageFolder {
public:
    ImageFolder();
    ~ImageFolder();
    ImageFolder(const ImageFolder&) = delete;
    ImageFolder& operator=(const ImageFolder&) = delete;

    /// Writes an image of size bytes (every byte value, zero included) at the relative path.
    std::string Write(const std::string& relative, std::size_t size = kImageSize) const;
    const std::filesystem::path& root() const { return m_root; }

    static constexpr std::size_t kImageSize = 200000;

private:
    std::filesystem::path m_root;
};
