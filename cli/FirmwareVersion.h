#pragma once
// Firmware versions as the tool compares them: the image's from its file name, the device's
// from its search reply.

#include <optional>
#include <string>
#include <string_view>

/// The version an image's file name gives: the characters after "Brimnet_v" up to ".bin"
/// ("Brimnet_v3.08.bin" -> "3.08"), when they are numbers separated by dots; std::nullopt
/// when the file name (the folders do not count) holds none.
std::optional<std::string> VersionFromImageName(const std::string& path);

/// A search reply's version field as shown (" 3.07") without its spaces: "3.07".
std::string TrimmedVersion(std::string_view shown);

/// Negative, zero or positive as a is older than, the same as or newer than b, compared part
/// by part as numbers (3.10 is newer than 3.9); std::nullopt when either is not numbers
/// separated by dots.
std::optional<int> CompareVersions(std::string_view a, std::string_view b);
