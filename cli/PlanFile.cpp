#include "cli/PlanFile.h"

#include "cli/InputText.h"
#include "cli/SafeText.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cctype>
#include <map>

namespace {

constexpr std::array<std::string_view, 6> kFields{"mac", "ip", "mask", "gateway", "port", "dhcp"};

std::string Lower(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

std::optional<bool> ParseFlag(std::string_view text)
{
    const std::string lower = Lower(text);
    if (lower == "true" || lower == "on" || lower == "yes" || lower == "1")
        return true;
    if (lower == "false" || lower == "off" || lower == "no" || lower == "0")
        return false;
    return std::nullopt;
}

// Reads one field's text into the device; a problem's words when it is no such value.
std::string ReadField(std::string_view field, std::string_view text, PlannedDevice& device)
{
    const auto bad = [&](const char* wanted) {
        return std::string(field) + " \"" + PrintableText(std::string(text)) + "\" is not " + wanted;
    };
    if (field == "mac") {
        const auto mac = ParseMac(text);
        if (!mac)
            return bad("a MAC address");
        device.mac12 = *mac;
    } else if (field == "port") {
        device.port = ParsePort(text);
        if (!device.port)
            return bad("a port from 1 to 65535");
    } else if (field == "dhcp") {
        device.dhcp = ParseFlag(text);
        if (!device.dhcp)
            return bad("true or false");
    } else {
        const auto address = ParseIpv4(text);
        if (!address)
            return bad("an address a.b.c.d");
        (field == "ip" ? device.ip : field == "mask" ? device.mask : device.gateway) = address;
    }
    return {};
}

// The cells of one CSV line: commas split, double quotes enclose ("" is a quote), and the
// apostrophe a spreadsheet-safe writer puts before =, +, - or @ is taken off again.
std::vector<std::string> CsvCells(std::string_view line)
{
    std::vector<std::string> cells(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"')
                cells.back() += line[++i];
            else if (c == '"')
                quoted = false;
            else
                cells.back() += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            cells.emplace_back();
        } else {
            cells.back() += c;
        }
    }
    for (std::string& cell : cells)
        if (cell.size() > 1 && cell[0] == '\'' && std::string_view("=+-@").find(cell[1]) != std::string_view::npos)
            cell.erase(0, 1);
    return cells;
}

std::string Trimmed(std::string text)
{
    const auto space = [](unsigned char c) { return std::isspace(c) != 0; };
    text.erase(text.begin(), std::find_if_not(text.begin(), text.end(), space));
    text.erase(std::find_if_not(text.rbegin(), text.rend(), space).base(), text.end());
    return text;
}

void ReadCsv(std::string_view text, Plan& plan)
{
    std::vector<std::string> lines;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string line(text.substr(start, end - start));
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    std::size_t header = 0;
    while (header < lines.size() && Trimmed(lines[header]).empty())
        ++header;
    if (header == lines.size()) {
        plan.problems.push_back("the plan is empty: a header line (mac,ip,...) and a line per device");
        return;
    }
    std::map<std::string_view, std::size_t> columns;
    const std::vector<std::string> titles = CsvCells(lines[header]);
    for (std::size_t i = 0; i < titles.size(); ++i)
        for (std::string_view field : kFields)
            if (Lower(Trimmed(titles[i])) == field)
                columns.emplace(field, i);
    if (!columns.contains("mac")) {
        plan.problems.push_back("line " + std::to_string(header + 1) + ": the header has no mac column");
        return;
    }
    for (std::size_t n = header + 1; n < lines.size(); ++n) {
        if (Trimmed(lines[n]).empty())
            continue;
        const std::vector<std::string> cells = CsvCells(lines[n]);
        PlannedDevice device;
        device.where = "line " + std::to_string(n + 1);
        for (const auto& [field, column] : columns) {
            const std::string cell = column < cells.size() ? Trimmed(cells[column]) : std::string();
            if (cell.empty()) {
                if (field == "mac")
                    plan.problems.push_back(device.where + ": no mac");
                continue;
            }
            if (std::string problem = ReadField(field, cell, device); !problem.empty())
                plan.problems.push_back(device.where + ": " + problem);
        }
        plan.devices.push_back(std::move(device));
    }
}

void ReadJson(std::string_view text, Plan& plan)
{
    const nlohmann::json list = nlohmann::json::parse(text, nullptr, false);
    if (list.is_discarded() || !list.is_array()) {
        plan.problems.push_back("the plan is not a JSON array of objects, as list --json prints");
        return;
    }
    for (std::size_t n = 0; n < list.size(); ++n) {
        PlannedDevice device;
        device.where = "entry " + std::to_string(n + 1);
        if (!list[n].is_object()) {
            plan.problems.push_back(device.where + ": not an object");
            continue;
        }
        for (std::string_view field : kFields) {
            const auto value = list[n].find(std::string(field));
            if (value == list[n].end() || value->is_null()) {
                if (field == "mac")
                    plan.problems.push_back(device.where + ": no mac");
                continue;
            }
            std::string text;
            if (value->is_string())
                text = value->get<std::string>();
            else if (value->is_boolean() && field == "dhcp")
                text = value->get<bool>() ? "true" : "false";
            else if (value->is_number_unsigned() && field == "port")
                text = std::to_string(value->get<std::uint64_t>());
            else
                text = value->dump();
            if (std::string problem = ReadField(field, text, device); !problem.empty())
                plan.problems.push_back(device.where + ": " + problem);
        }
        plan.devices.push_back(std::move(device));
    }
}

// What the plan shows without a device's answer: twice-planned MACs and addresses.
void CheckPlan(Plan& plan)
{
    std::map<std::string, const PlannedDevice*> byMac;
    std::map<std::uint32_t, const PlannedDevice*> byIp;
    for (const PlannedDevice& device : plan.devices) {
        if (device.mac12.empty())
            continue;
        if (const auto [first, fresh] = byMac.emplace(device.mac12, &device); !fresh)
            plan.problems.push_back(device.where + ": " + MacWithColons(device.mac12) + " is planned already at " +
                                    first->second->where);
        if (device.ip && !device.dhcp.value_or(false))
            if (const auto [first, fresh] = byIp.emplace(*device.ip, &device); !fresh)
                plan.problems.push_back(device.where + ": " + DottedAddress(*device.ip) +
                                        " is planned already for " + MacWithColons(first->second->mac12) + " at " +
                                        first->second->where);
    }
}

} // namespace

Plan ReadPlan(std::string_view text)
{
    Plan plan;
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first != std::string_view::npos && text[first] == '[')
        ReadJson(text, plan);
    else
        ReadCsv(text, plan);
    if (plan.problems.empty())
        CheckPlan(plan);
    return plan;
}
