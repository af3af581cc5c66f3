#pragma once
// The program's resources (dialog templates, string table, icons), registered as data
// and looked up by id.

#include "platform/toolkit/DialogTemplate.h"
#include "platform/toolkit/WinUser.h"

#include <cstdint>
#include <span>
#include <string>

// One square image of an icon: size rows of size characters each; character c stands
// for palette entry (c - 'a'), '.' is transparent; palette entries are 0xAARRGGBB.
struct IconImage {
    int size;
    const char* const* rows;
    std::span<const std::uint32_t> palette;
};

class ResourceTable {
public:
    // The template and its control table must outlive the program (static data).
    static void AddDialog(const DialogTemplate& dialog);
    static const DialogTemplate* FindDialog(int id);

    static void AddString(UINT id, const char* utf8);
    // Empty when there is no such string.
    static std::string LoadString(UINT id);

    // Throws std::invalid_argument when an image's rows or palette indexes do not fit.
    static void AddIcon(int id, std::span<const IconImage> images);
    // nullptr when there is no such icon. The handle stays valid for the process.
    static HICON LoadIcon(int id);
};

std::string AfxLoadString(UINT id);
