#include "tests/cli/ImageFolder.h"

#include "cli/InputText.h"

#include <chrono>
#include <fstream>
#include <random>

namespace fs = std::filesystem;

ImageFolder::ImageFolder()
    : m_root(fs::temp_directory_path() /
             ("lanvista-cli-test-" + std::to_string(std::random_device{}()) + "-" +
              std::to_string(std::chrono::steady_clock::now().time_since_epoch().count())))
{
    fs::remove_all(m_root);
    fs::create_directories(m_root);
}

ImageFolder::~ImageFolder()
{
    fs::remove_all(m_root);
}

std::string ImageFolder::Write(const std::string& relative, std::size_t size) const
{
    const fs::path path = m_root / PathFromUtf8(relative);
    fs::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary);
    for (std::size_t i = 0; i < size; ++i)
        file.put(static_cast<char>(i * 7 + i / 256));
    return Utf8Of(path);
}
