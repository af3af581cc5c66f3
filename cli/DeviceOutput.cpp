#include "cli/DeviceOutput.h"

#include "cli/InputText.h"
#include "cli/SafeText.h"

#include <algorithm>
#include <array>
#include <optional>

namespace {

constexpr std::size_t kColumns = 9;
using Row = std::array<std::string, kColumns>;
constexpr Row kHeader{"mac", "ip", "mask", "gateway", "port", "dhcp", "version", "from", "interface"};

// The version as the dialog's box shows it, without the leading space of its field.
std::optional<std::string> VersionText(const DeviceRecord& record)
{
    if (!record.version)
        return std::nullopt;
    const std::size_t start = record.version->find_first_not_of(' ');
    return PrintableText(start == std::string::npos ? std::string() : record.version->substr(start));
}

std::optional<std::string> InterfaceText(const FoundDevice& device)
{
    if (device.interface.empty())
        return std::nullopt;
    return PrintableText(device.interface);
}

Row RowOf(const FoundDevice& device, const char* unknown)
{
    const DeviceRecord& record = device.record;
    return {PrintableText(record.macText),
            DottedAddress(record.ip),
            DottedAddress(record.mask),
            DottedAddress(record.gateway),
            std::to_string(record.port),
            record.dhcp ? "true" : "false",
            VersionText(record).value_or(unknown),
            DottedAddress(device.from),
            InterfaceText(device).value_or(unknown)};
}

std::string JsonOrNull(const std::optional<std::string>& text)
{
    return text ? JsonString(*text) : "null";
}

// The object's members, each "key": value, indented by `indent` and ended by `end`.
void AppendObject(std::string& text, const FoundDevice& device, const char* indent, const char* separator)
{
    const DeviceRecord& record = device.record;
    const std::array<std::pair<const char*, std::string>, kColumns> members{{
        {"mac", JsonString(record.macText)},
        {"ip", JsonString(DottedAddress(record.ip))},
        {"mask", JsonString(DottedAddress(record.mask))},
        {"gateway", JsonString(DottedAddress(record.gateway))},
        {"port", std::to_string(record.port)},
        {"dhcp", record.dhcp ? "true" : "false"},
        {"version", JsonOrNull(VersionText(record))},
        {"from", JsonString(DottedAddress(device.from))},
        {"interface", JsonOrNull(InterfaceText(device))},
    }};
    for (std::size_t i = 0; i < members.size(); ++i) {
        text += indent;
        text += '"';
        text += members[i].first;
        text += "\": ";
        text += members[i].second;
        if (i + 1 < members.size())
            text += separator;
    }
}

} // namespace

void WriteTable(std::ostream& out, const FoundDevices& devices)
{
    // Two passes over the devices, the widths first, so no copy of the table is kept.
    const auto tableRow = [](const FoundDevice& device) {
        Row row = RowOf(device, "-");
        row[5] = device.record.dhcp ? "on" : "off";
        return row;
    };
    Row titles = kHeader;
    for (std::string& title : titles)
        std::transform(title.begin(), title.end(), title.begin(), [](unsigned char c) { return std::toupper(c); });
    std::array<std::size_t, kColumns> widths{};
    const auto widen = [&](const Row& row) {
        for (std::size_t i = 0; i < kColumns; ++i)
            widths[i] = std::max(widths[i], row[i].size());
    };
    widen(titles);
    for (const FoundDevice& device : devices)
        widen(tableRow(device));

    std::string line;
    const auto write = [&](const Row& row) {
        line.clear();
        for (std::size_t i = 0; i < kColumns; ++i) {
            line += row[i];
            if (i + 1 < kColumns)
                line.append(widths[i] - row[i].size() + 2, ' ');
        }
        line += '\n';
        out << line;
    };
    write(titles);
    for (const FoundDevice& device : devices)
        write(tableRow(device));
}

void WriteJson(std::ostream& out, const FoundDevices& devices)
{
    if (devices.empty()) {
        out << "[]\n";
        return;
    }
    std::string text;
    out << "[\n";
    for (std::size_t i = 0; i < devices.size(); ++i) {
        text = "  {\n";
        AppendObject(text, devices[i], "    ", ",\n");
        text += i + 1 < devices.size() ? "\n  },\n" : "\n  }\n";
        out << text;
    }
    out << "]\n";
}

void WriteJsonLine(std::ostream& out, const FoundDevice& device)
{
    std::string text = "{";
    AppendObject(text, device, "", ", ");
    text += "}\n";
    out << text;
}

void WriteCsv(std::ostream& out, const FoundDevices& devices)
{
    std::string line;
    const auto write = [&](const Row& row) {
        line.clear();
        for (std::size_t i = 0; i < kColumns; ++i) {
            if (i > 0)
                line += ',';
            line += CsvCell(row[i]);
        }
        line += '\n';
        out << line;
    };
    write(kHeader);
    for (const FoundDevice& device : devices)
        write(RowOf(device, ""));
}
