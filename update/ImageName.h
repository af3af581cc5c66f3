#pragma once
// Firmware image name rules and load trace.

#include <span>
#include <string>

// True when fullPath contains "Brimnet_v" and "bin", both case-sensitive, anywhere
// (directory or file name; the extension as such is not checked).
bool IsFirmwareImagePath(const std::string& fullPath);

// Number of bytes before the first zero byte of image (its size if it holds none).
unsigned LengthBeforeZero(std::span<const unsigned char> image);

// The trace text " Len: %d, %d" of LengthBeforeZero(image) and image.size().
std::string FormatImageTrace(std::span<const unsigned char> image);
