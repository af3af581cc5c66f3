#pragma once
// The toolkit's reading of an unsigned number typed into an edit control, as plain text
// handling apart from the control.

#include <optional>
#include <string_view>

// Reads at most the first 31 characters of text (UTF-8). Blanks and tabs around the
// number are skipped and a plus sign may precede it. A minus sign, no digits, a value of
// 0 not written with the digit 0 first, or anything left over make it no number
// (std::nullopt). A number too large for 32 bits reads as 4294967295.
std::optional<unsigned> ParseUnsignedDialogText(std::string_view text);
