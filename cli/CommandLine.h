#pragma once
// The command line of lanvista-cli, read into one of its commands.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

enum class ListFormat { Table, Json, JsonLines, Csv };

struct HelpCommand {};
struct VersionCommand {};

struct ListCommand {
    std::optional<std::string> mac12;  // upper-case; absent: every device
    double timeoutSeconds = 2;
    std::vector<std::string> interfaces;  // empty: every adapter
    ListFormat format = ListFormat::Table;
    std::optional<std::size_t> count;  // end once this many devices answered
    bool verbose = false;
};

struct SetCommand {
    std::string mac12;
    std::optional<std::uint32_t> ip;
    std::optional<std::uint32_t> mask;
    std::optional<std::uint32_t> gateway;
    std::optional<std::uint16_t> port;
    std::optional<bool> dhcp;
    double timeoutSeconds = 2;
    std::vector<std::string> interfaces;
    bool force = false;  // write settings the rules refuse
    bool verbose = false;
};

/// The most downloads update runs at once.
inline constexpr std::size_t kMostParallel = 64;

struct UpdateCommand {
    // The devices: each address, each MAC (upper-case), or every device a search finds.
    std::vector<std::uint32_t> addresses;
    std::vector<std::string> macs;
    bool all = false;
    std::string imagePath;
    double timeoutSeconds = 60;
    std::size_t parallel = 4;     // downloads at once
    bool force = false;           // download into a device that already runs the image's version
    bool allowDowngrade = false;  // download into a device that runs a newer version
    bool json = false;            // the report as JSON
    bool dryRun = false;          // report what would be downloaded, download nothing
    std::vector<std::string> interfaces;
    bool verbose = false;
};

struct ApplyCommand {
    std::string planPath;  // "-": standard input
    bool dryRun = false;   // report what would change, send no save
    bool json = false;     // the report as JSON
    double timeoutSeconds = 2;
    std::vector<std::string> interfaces;
    bool force = false;
    bool verbose = false;
};

using Command = std::variant<HelpCommand, VersionCommand, ListCommand, SetCommand, UpdateCommand, ApplyCommand>;

/// The command, or why the line is refused (one line, without the program name).
struct ParsedCommandLine {
    std::optional<Command> command;
    std::string error;
};

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

/// The text of --help, exit codes included.
std::string HelpText();
