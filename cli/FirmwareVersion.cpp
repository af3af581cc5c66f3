#include "cli/FirmwareVersion.h"

#include "cli/InputText.h"

#include <charconv>
#include <filesystem>
#include <vector>

namespace {

// "3.08" -> {3, 8}; std::nullopt unless it is numbers separated by single dots.
std::optional<std::vector<unsigned long>> VersionParts(std::string_view text)
{
    std::vector<unsigned long> parts;
    for (;;) {
        unsigned long part = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), part);
        if (error != std::errc() || end == text.data())
            return std::nullopt;
        parts.push_back(part);
        text.remove_prefix(static_cast<std::size_t>(end - text.data()));
        if (text.empty())
            return parts;
        if (text.front() != '.')
            return std::nullopt;
        text.remove_prefix(1);
    }
}

} // namespace

std::optional<std::string> VersionFromImageName(const std::string& path)
{
    static constexpr std::string_view kBefore = "Brimnet_v";
    static constexpr std::string_view kAfter = ".bin";
    const std::string name = Utf8Of(PathFromUtf8(path).filename());
    const std::size_t start = name.find(kBefore);
    if (start == std::string::npos)
        return std::nullopt;
    const std::size_t from = start + kBefore.size();
    const std::size_t end = name.find(kAfter, from);
    if (end == std::string::npos)
        return std::nullopt;
    std::string version = name.substr(from, end - from);
    if (!VersionParts(version))
        return std::nullopt;
    return version;
}

std::string TrimmedVersion(std::string_view shown)
{
    while (!shown.empty() && shown.front() == ' ')
        shown.remove_prefix(1);
    while (!shown.empty() && shown.back() == ' ')
        shown.remove_suffix(1);
    return std::string(shown);
}

std::optional<int> CompareVersions(std::string_view a, std::string_view b)
{
    const auto left = VersionParts(a);
    const auto right = VersionParts(b);
    if (!left || !right)
        return std::nullopt;
    for (std::size_t i = 0; i < std::max(left->size(), right->size()); ++i) {
        const unsigned long x = i < left->size() ? (*left)[i] : 0;
        const unsigned long y = i < right->size() ? (*right)[i] : 0;
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
}
