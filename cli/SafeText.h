#pragma once
// Every text that reaches stdout or stderr from outside the tool (a device's reply, an
// adapter's name, a user's argument) passes here first.

#include <string>
#include <string_view>

/// Safe to print: every byte outside printable ASCII becomes '?', so that a reply or an
/// interface name (Linux allows any byte but '/' and NUL in one) cannot move a terminal's
/// cursor or break a script's UTF-8.
std::string PrintableText(std::string_view text);

/// One CSV cell of printable text: quoted where CSV needs it, and a cell a spreadsheet would
/// take for a formula ('=', '+', '-', '@' first) is led by a single quote.
std::string CsvCell(std::string_view text);

/// A JSON string literal, quotes included, of printable text.
std::string JsonString(std::string_view text);
