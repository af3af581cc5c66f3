#include "cli/DeviceOutput.h"

#include "cli/InputText.h"

#include <nlohmann/json.hpp>

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
    return device.interface;
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

std::string CsvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

} // namespace

std::string PrintableText(std::string_view text)
{
    std::string printable(text);
    std::replace_if(printable.begin(), printable.end(), [](char c) { return c < 0x20 || c > 0x7E; }, '?');
    return printable;
}

void WriteTable(std::ostream& out, const std::vector<FoundDevice>& devices)
{
    std::vector<Row> rows{kHeader};
    for (Row& title : rows)
        for (std::string& cell : title)
            std::transform(cell.begin(), cell.end(), cell.begin(), [](unsigned char c) { return std::toupper(c); });
    for (const FoundDevice& device : devices) {
        Row row = RowOf(device, "-");
        row[5] = device.record.dhcp ? "on" : "off";
        rows.push_back(std::move(row));
    }
    std::array<std::size_t, kColumns> widths{};
    for (const Row& row : rows)
        for (std::size_t i = 0; i < kColumns; ++i)
            widths[i] = std::max(widths[i], row[i].size());
    for (const Row& row : rows) {
        std::string line;
        for (std::size_t i = 0; i < kColumns; ++i) {
            line += row[i];
            if (i + 1 < kColumns)
                line += std::string(widths[i] - row[i].size() + 2, ' ');
        }
        out << line << '\n';
    }
}

void WriteJson(std::ostream& out, const std::vector<FoundDevice>& devices)
{
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const FoundDevice& device : devices) {
        const DeviceRecord& record = device.record;
        nlohmann::ordered_json entry;
        entry["mac"] = PrintableText(record.macText);
        entry["ip"] = DottedAddress(record.ip);
        entry["mask"] = DottedAddress(record.mask);
        entry["gateway"] = DottedAddress(record.gateway);
        entry["port"] = record.port;
        entry["dhcp"] = record.dhcp;
        const auto version = VersionText(record);
        entry["version"] = version ? nlohmann::ordered_json(*version) : nlohmann::ordered_json(nullptr);
        entry["from"] = DottedAddress(device.from);
        const auto interface = InterfaceText(device);
        entry["interface"] = interface ? nlohmann::ordered_json(*interface) : nlohmann::ordered_json(nullptr);
        list.push_back(std::move(entry));
    }
    out << list.dump(2) << '\n';
}

void WriteCsv(std::ostream& out, const std::vector<FoundDevice>& devices)
{
    std::vector<Row> rows{kHeader};
    for (const FoundDevice& device : devices)
        rows.push_back(RowOf(device, ""));
    for (const Row& row : rows) {
        std::string line;
        for (std::size_t i = 0; i < kColumns; ++i) {
            if (i > 0)
                line += ',';
            line += CsvField(row[i]);
        }
        out << line << '\n';
    }
}
