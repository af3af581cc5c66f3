#include "cli/SafeText.h"

#include <algorithm>

std::string PrintableText(std::string_view text)
{
    std::string printable(text);
    std::replace_if(printable.begin(), printable.end(), [](char c) { return c < 0x20 || c > 0x7E; }, '?');
    return printable;
}

std::string CsvCell(std::string_view text)
{
    std::string cell = PrintableText(text);
    if (!cell.empty() && std::string_view("=+-@").find(cell.front()) != std::string_view::npos)
        cell.insert(cell.begin(), '\'');
    if (cell.find_first_of(",\"") == std::string::npos)
        return cell;
    std::string quoted = "\"";
    for (char c : cell) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string JsonString(std::string_view text)
{
    std::string literal = "\"";
    for (char c : PrintableText(text)) {
        if (c == '"' || c == '\\')
            literal += '\\';
        literal += c;
    }
    return literal + '"';
}
