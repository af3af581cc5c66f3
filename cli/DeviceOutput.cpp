#include "cli/DeviceOutput.h"

#include "cli/InputText.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <iomanip>
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
    using Json = nlohmann::ordered_json;
    Json list = Json::array();
    list.get_ref<Json::array_t&>().reserve(devices.size());
    for (const FoundDevice& device : devices) {
        const DeviceRecord& record = device.record;
        Json entry = Json::object();
        entry.get_ref<Json::object_t&>().reserve(kColumns);
        entry["mac"] = PrintableText(record.macText);
        entry["ip"] = DottedAddress(record.ip);
        entry["mask"] = DottedAddress(record.mask);
        entry["gateway"] = DottedAddress(record.gateway);
        entry["port"] = record.port;
        entry["dhcp"] = record.dhcp;
        const auto version = VersionText(record);
        entry["version"] = version ? Json(*version) : Json(nullptr);
        entry["from"] = DottedAddress(device.from);
        const auto interface = InterfaceText(device);
        entry["interface"] = interface ? Json(*interface) : Json(nullptr);
        list.push_back(std::move(entry));
    }
    out << std::setw(2) << list << '\n';
}

void WriteCsv(std::ostream& out, const FoundDevices& devices)
{
    std::string line;
    const auto write = [&](const Row& row) {
        line.clear();
        for (std::size_t i = 0; i < kColumns; ++i) {
            if (i > 0)
                line += ',';
            line += CsvField(row[i]);
        }
        line += '\n';
        out << line;
    };
    write(kHeader);
    for (const FoundDevice& device : devices)
        write(RowOf(device, ""));
}
