#include "cli/CommandLine.h"

#include "cli/InputText.h"

#include <getopt.h>

#include <functional>

namespace {

enum OptionId : int {
    kHelp = 'h',
    kVerbose = 'v',
    kVersion = 256,
    kMac,
    kTimeout,
    kInterface,
    kJson,
    kCsv,
    kIp,
    kMask,
    kGateway,
    kPort,
    kDhcp,
    kCount,
    kJsonLines,
    kForce,
    kDryRun,
    kAll,
    kParallel,
    kAllowDowngrade,
};

constexpr option kHelpOption{"help", no_argument, nullptr, kHelp};
constexpr option kVersionOption{"version", no_argument, nullptr, kVersion};
constexpr option kMacOption{"mac", required_argument, nullptr, kMac};
constexpr option kTimeoutOption{"timeout", required_argument, nullptr, kTimeout};
constexpr option kInterfaceOption{"interface", required_argument, nullptr, kInterface};
constexpr option kJsonOption{"json", no_argument, nullptr, kJson};
constexpr option kCsvOption{"csv", no_argument, nullptr, kCsv};
constexpr option kIpOption{"ip", required_argument, nullptr, kIp};
constexpr option kMaskOption{"mask", required_argument, nullptr, kMask};
constexpr option kGatewayOption{"gateway", required_argument, nullptr, kGateway};
constexpr option kPortOption{"port", required_argument, nullptr, kPort};
constexpr option kDhcpOption{"dhcp", required_argument, nullptr, kDhcp};
constexpr option kVerboseOption{"verbose", no_argument, nullptr, kVerbose};
constexpr option kCountOption{"count", required_argument, nullptr, kCount};
constexpr option kJsonLinesOption{"jsonl", no_argument, nullptr, kJsonLines};
constexpr option kForceOption{"force", no_argument, nullptr, kForce};
constexpr option kDryRunOption{"dry-run", no_argument, nullptr, kDryRun};
constexpr option kAllOption{"all", no_argument, nullptr, kAll};
constexpr option kParallelOption{"parallel", required_argument, nullptr, kParallel};
constexpr option kAllowDowngradeOption{"allow-downgrade", no_argument, nullptr, kAllowDowngrade};
constexpr option kEndOption{nullptr, 0, nullptr, 0};

// Called for each option (id and value, null for a flag) and each positional argument (id 1);
// returns an error text, empty when the argument is fine.
using ArgumentHandler = std::function<std::string(int id, const char* value)>;

std::string NameOf(const std::vector<option>& options, int id)
{
    for (const option& o : options)
        if (o.name != nullptr && o.val == id)
            return std::string("--") + o.name;
    return "an option";
}

// "--x" that starts more than one option's name: "ambiguous option --x (--xa or --xb)";
// empty when it does not.
std::string Ambiguity(const std::vector<option>& options, const char* argument)
{
    std::string_view given(argument);
    if (given.substr(0, 2) != "--")
        return {};
    given = given.substr(2, given.find('=') == std::string_view::npos ? std::string_view::npos : given.find('=') - 2);
    std::vector<std::string> candidates;
    for (const option& o : options)
        if (o.name != nullptr && std::string_view(o.name).substr(0, given.size()) == given)
            candidates.push_back(std::string("--") + o.name);
    if (candidates.size() < 2)
        return {};
    std::string text = "ambiguous option --" + std::string(given) + " (";
    for (std::size_t i = 0; i < candidates.size(); ++i)
        text += (i == 0 ? "" : i + 1 == candidates.size() ? " or " : ", ") + candidates[i];
    return text + ")";
}

// getopt_long over arguments, which start with the command word. "-" hands positional
// arguments over in order wherever they stand (also under POSIXLY_CORRECT), and those after
// "--" too; ":" reports a missing value apart from an unknown option.
std::string ReadArguments(const std::vector<std::string>& arguments, std::vector<option> options,
                          const ArgumentHandler& handle)
{
    options.push_back(kEndOption);
    std::vector<std::string> storage = arguments;
    std::vector<char*> argv;
    for (std::string& argument : storage)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    optind = 0;  // a fresh scan each time, as for a new process
    opterr = 0;  // messages are ours, on the caller's stream
    const int argc = static_cast<int>(storage.size());
    for (;;) {
        const int id = getopt_long(argc, argv.data(), "-:hv", options.data(), nullptr);
        if (id == -1) {
            for (int i = optind; i < argc; ++i)
                if (std::string error = handle(1, argv[i]); !error.empty())
                    return error;
            return {};
        }
        if (id == ':')
            return NameOf(options, optopt) + " needs a value";
        if (id == '?') {
            if (optopt != 0 && optopt < 256)
                return std::string("unknown option -") + static_cast<char>(optopt);
            if (std::string ambiguous = Ambiguity(options, argv[optind - 1]); !ambiguous.empty())
                return ambiguous;
            return "unknown option " + std::string(argv[optind - 1]);
        }
        std::string error = handle(id, optarg);
        if (!error.empty())
            return error;
    }
}

std::string ReadTimeout(const char* value, double& seconds)
{
    const auto parsed = ParseSeconds(value);
    if (!parsed)
        return std::string("--timeout wants a positive number of seconds, not \"") + value + '"';
    seconds = *parsed;
    return {};
}

std::string ReadAddress(const char* name, const char* value, std::optional<std::uint32_t>& address)
{
    address = ParseIpv4(value);
    if (!address)
        return std::string(name) + " wants an address a.b.c.d with each field 0 to 255, not \"" + value + '"';
    return {};
}

std::string BadMac(const std::string& text)
{
    return "\"" + text + "\" is not a MAC address (00A0B1C20010, 00:A0:B1:C2:00:10 or 00-A0-B1-C2-00-10)";
}

ParsedCommandLine Parsed(Command command, std::string error)
{
    ParsedCommandLine parsed;
    if (error.empty())
        parsed.command = std::move(command);
    else
        parsed.error = std::move(error);
    return parsed;
}

ParsedCommandLine ParseList(const std::vector<std::string>& arguments)
{
    ListCommand list;
    bool help = false;
    int formats = 0;
    std::string error = ReadArguments(
        arguments,
        {kHelpOption, kMacOption, kTimeoutOption, kInterfaceOption, kJsonOption, kJsonLinesOption, kCsvOption,
         kCountOption, kVerboseOption},
        [&](int id, const char* value) -> std::string {
            switch (id) {
            case kHelp: help = true; return {};
            case kVerbose: list.verbose = true; return {};
            case kCount: {
                const auto count = ParseCount(value);
                if (!count)
                    return std::string("--count wants a number of devices from 1 on, not \"") + value + '"';
                list.count = *count;
                return {};
            }
            case kMac:
                list.mac12 = ParseMac(value);
                return list.mac12 ? std::string() : BadMac(value);
            case kTimeout: return ReadTimeout(value, list.timeoutSeconds);
            case kInterface: list.interfaces.emplace_back(value); return {};
            case kJson: list.format = ListFormat::Json; ++formats; return {};
            case kJsonLines: list.format = ListFormat::JsonLines; ++formats; return {};
            case kCsv: list.format = ListFormat::Csv; ++formats; return {};
            default: return std::string("list takes no argument \"") + value + '"';
            }
        });
    if (help)
        return Parsed(HelpCommand{}, {});
    if (error.empty() && formats > 1)
        error = "--json, --jsonl and --csv exclude each other";
    return Parsed(list, error);
}

ParsedCommandLine ParseSet(const std::vector<std::string>& arguments)
{
    SetCommand set;
    bool help = false;
    std::vector<std::string> positionals;
    std::string error = ReadArguments(
        arguments,
        {kHelpOption, kIpOption, kMaskOption, kGatewayOption, kPortOption, kDhcpOption, kTimeoutOption,
         kInterfaceOption, kForceOption, kVerboseOption},
        [&](int id, const char* value) -> std::string {
            switch (id) {
            case kHelp: help = true; return {};
            case kForce: set.force = true; return {};
            case kVerbose: set.verbose = true; return {};
            case kIp: return ReadAddress("--ip", value, set.ip);
            case kMask: return ReadAddress("--mask", value, set.mask);
            case kGateway: return ReadAddress("--gateway", value, set.gateway);
            case kPort:
                set.port = ParsePort(value);
                return set.port ? std::string() : std::string("--port wants 1 to 65535, not \"") + value + '"';
            case kDhcp:
                set.dhcp = ParseOnOff(value);
                return set.dhcp ? std::string() : std::string("--dhcp wants on or off, not \"") + value + '"';
            case kTimeout: return ReadTimeout(value, set.timeoutSeconds);
            case kInterface: set.interfaces.emplace_back(value); return {};
            default: positionals.emplace_back(value); return {};
            }
        });
    if (help)
        return Parsed(HelpCommand{}, {});
    if (!error.empty())
        return Parsed(set, error);
    if (positionals.size() != 1)
        return Parsed(set, "set wants one MAC address");
    const auto mac12 = ParseMac(positionals[0]);
    if (!mac12)
        return Parsed(set, BadMac(positionals[0]));
    set.mac12 = *mac12;
    if (!set.ip && !set.mask && !set.gateway && !set.port && !set.dhcp)
        return Parsed(set, "set wants at least one of --ip, --mask, --gateway, --port, --dhcp");
    return Parsed(set, {});
}

ParsedCommandLine ParseUpdate(const std::vector<std::string>& arguments)
{
    UpdateCommand update;
    bool help = false;
    std::vector<std::string> positionals;
    std::string error = ReadArguments(
        arguments,
        {kHelpOption, kAllOption, kMacOption, kParallelOption, kForceOption, kAllowDowngradeOption, kJsonOption,
         kDryRunOption, kTimeoutOption, kInterfaceOption, kVerboseOption},
        [&](int id, const char* value) -> std::string {
            switch (id) {
            case kHelp: help = true; return {};
            case kVerbose: update.verbose = true; return {};
            case kAll: update.all = true; return {};
            case kForce: update.force = true; return {};
            case kAllowDowngrade: update.allowDowngrade = true; return {};
            case kJson: update.json = true; return {};
            case kDryRun: update.dryRun = true; return {};
            case kMac: {
                const auto mac12 = ParseMac(value);
                if (!mac12)
                    return BadMac(value);
                update.macs.push_back(*mac12);
                return {};
            }
            case kParallel: {
                const auto count = ParseCount(value);
                if (!count || *count > kMostParallel)
                    return std::string("--parallel wants 1 to ") + std::to_string(kMostParallel) + " downloads, not \"" +
                           value + '"';
                update.parallel = *count;
                return {};
            }
            case kTimeout: return ReadTimeout(value, update.timeoutSeconds);
            case kInterface: update.interfaces.emplace_back(value); return {};
            default: positionals.emplace_back(value); return {};
            }
        });
    if (help)
        return Parsed(HelpCommand{}, {});
    if (!error.empty())
        return Parsed(update, error);
    // With one word only, that word is taken for the image and no device is left.
    constexpr const char* kWantsDevicesAndImage = "update wants the devices (addresses, --mac or --all) and an image file";
    if (positionals.empty())
        return Parsed(update, kWantsDevicesAndImage);
    update.imagePath = positionals.back();
    positionals.pop_back();
    for (const std::string& text : positionals) {
        const auto address = ParseIpv4(text);
        if (!address)
            return Parsed(update, "\"" + text + "\" is not an IPv4 address a.b.c.d");
        update.addresses.push_back(*address);
    }
    if (update.all && (!update.addresses.empty() || !update.macs.empty()))
        return Parsed(update, "--all takes no addresses and no --mac: it is every device a search finds");
    if (!update.all && update.addresses.empty() && update.macs.empty())
        return Parsed(update, kWantsDevicesAndImage);
    return Parsed(update, {});
}

ParsedCommandLine ParseApply(const std::vector<std::string>& arguments)
{
    ApplyCommand apply;
    bool help = false;
    std::vector<std::string> positionals;
    std::string error = ReadArguments(
        arguments,
        {kHelpOption, kDryRunOption, kJsonOption, kTimeoutOption, kInterfaceOption, kForceOption, kVerboseOption},
        [&](int id, const char* value) -> std::string {
            switch (id) {
            case kHelp: help = true; return {};
            case kDryRun: apply.dryRun = true; return {};
            case kJson: apply.json = true; return {};
            case kForce: apply.force = true; return {};
            case kVerbose: apply.verbose = true; return {};
            case kTimeout: return ReadTimeout(value, apply.timeoutSeconds);
            case kInterface: apply.interfaces.emplace_back(value); return {};
            default: positionals.emplace_back(value); return {};
            }
        });
    if (help)
        return Parsed(HelpCommand{}, {});
    if (!error.empty())
        return Parsed(apply, error);
    if (positionals.size() != 1)
        return Parsed(apply, "apply wants one plan file (- for standard input)");
    apply.planPath = positionals[0];
    return Parsed(apply, {});
}

ParsedCommandLine ParseGlobal(const std::vector<std::string>& arguments)
{
    bool help = false;
    bool version = false;
    std::string error = ReadArguments(arguments, {kHelpOption, kVersionOption, kVerboseOption},
                                      [&](int id, const char* value) -> std::string {
                                          switch (id) {
                                          case kHelp: help = true; return {};
                                          case kVersion: version = true; return {};
                                          case kVerbose: return "-v/--verbose goes after the command";
                                          default: return std::string("unknown command \"") + value + '"';
                                          }
                                      });
    if (!error.empty())
        return Parsed(HelpCommand{}, error);
    if (help)
        return Parsed(HelpCommand{}, {});
    if (version)
        return Parsed(VersionCommand{}, {});
    return Parsed(HelpCommand{}, "no command given");
}

} // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments)
{
    if (arguments.empty())
        return Parsed(HelpCommand{}, "no command given");
    const std::string& word = arguments.front();
    if (word == "list")
        return ParseList(arguments);
    if (word == "set")
        return ParseSet(arguments);
    if (word == "update")
        return ParseUpdate(arguments);
    if (word == "apply")
        return ParseApply(arguments);
    if (!word.empty() && word.front() == '-') {
        std::vector<std::string> withProgram{"lanvista-cli"};
        withProgram.insert(withProgram.end(), arguments.begin(), arguments.end());
        return ParseGlobal(withProgram);
    }
    return Parsed(HelpCommand{}, "unknown command \"" + word + '"');
}

std::string HelpText()
{
    return R"(Usage:
  lanvista-cli list   [--mac MAC] [--count N] [--timeout SECONDS] [--interface NAME]...
                      [--json | --jsonl | --csv] [-v]
  lanvista-cli set    MAC [--ip A.B.C.D] [--mask A.B.C.D] [--gateway A.B.C.D] [--port N]
                      [--dhcp on|off] [--timeout SECONDS] [--interface NAME]... [--force] [-v]
  lanvista-cli update (ADDRESS... | --mac MAC... | --all) IMAGE [--parallel N] [--force]
                      [--allow-downgrade] [--dry-run] [--json] [--timeout SECONDS]
                      [--interface NAME]... [-v]
  lanvista-cli apply  PLAN [--dry-run] [--json] [--timeout SECONDS] [--interface NAME]...
                      [--force] [-v]
  lanvista-cli --help | --version

Finds, configures and updates the serial-to-Ethernet device servers on the local network
segment from a shell or a script, speaking the same protocol as the Lanvista dialog. Searches
and saves are broadcast on UDP port 27700 from every network adapter.

Commands:
  list     Search for every device, or the one given by --mac, for --timeout seconds
           (default 2), sending the search again a few times meanwhile so that a lost
           datagram is made up for, and print each device once in arrival order: an aligned
           table, with --json a JSON array of objects with the keys mac, ip, mask, gateway,
           port, dhcp, version, from and interface, with --jsonl one such object per line as
           each device is first heard, with --csv the same columns under a header line. The
           search ends early at --mac's device, or once --count devices have answered.
           No device found is not an error: an empty list, a note on stderr, exit 0.
  set      Read the settings of the device with this MAC, change only the fields given,
           save them into the device, then search again and check that it reports what was
           asked (addresses not, once the device is on DHCP). Refused before anything is
           written (exit 2): a mask with holes, 0.0.0.0 or 255.255.255.255; an address that is
           no host's (0.0.0.0, broadcast, loopback, multicast, its subnet's network or
           broadcast address) or that another device reports; a gateway outside the subnet
           (0.0.0.0, no gateway, is fine). --force writes it all the same. When two devices
           answer for one MAC nothing is written (exit 1). A save that gets no answer within
           --timeout seconds is sent again, 3 times in all.
  update   Download the firmware image IMAGE into each device given: by ADDRESS, by --mac
           (repeatable), or --all, every device a search finds; --parallel downloads at
           once (default 4, at most 64). IMAGE's full path must contain "Brimnet_v" and
           "bin", as in the dialog's Browse; its version is what its file name holds
           between "Brimnet_v" and ".bin" (Brimnet_v3.08.bin: 3.08). A search first reads
           each device's version (it lasts up to 2 s, less when --timeout is shorter): a
           device that already runs the image's version is skipped unless --force, one
           that runs a newer version is refused unless --allow-downgrade. After the
           device's success the tool searches until it answers with the image's version
           (within --timeout) and reports 3.07 -> 3.08; one that keeps another version
           has failed. A device given by ADDRESS that the search does not find is
           updated unchecked (its result says so); a file name without a version
           downloads into every device unchecked, with a note. One line per device:
           updated, skipped, refused, failed (with the reason) or absent; --json the
           same as an array; --dry-run reports "would update" and downloads nothing.
           One device's failure does not stop the others. --timeout is
           the longest wait for a device at any step (default 60 seconds). A progress
           bar is shown on stderr for a single device when stderr is a terminal.
  apply    Put every device of PLAN into its settings. PLAN (a file, or - for stdin) is
           CSV with a header line or JSON, in the columns or keys list prints: mac, and
           any of ip, mask, gateway, port, dhcp (other columns are ignored, an empty cell
           keeps that field), so list --csv's output edited is a plan. The whole plan is
           checked first (exit 2, each problem with its line): the rules of set, a MAC or
           an address planned twice, an address a device outside the plan reports. Then
           one search; each device that differs is saved, and one more search checks them
           all. A line per device: unchanged, changed (with each field: ip 10.0.0.5 ->
           10.0.1.5), failed (with the reason) or absent; --json the same as an array.
           --dry-run reports what would change and saves nothing. Exit 0 only when every
           planned device ends as planned.

Options:
  --mac MAC             00A0B1C20010, 00:a0:b1:c2:00:10 or 00-A0-B1-C2-00-10
  --interface NAME      search and save on this network adapter only (repeatable); replies
                        that come in on other adapters are ignored
  --json, --jsonl, --csv  output formats of list (--json also of update and apply)
  --count N             list: end once N devices have answered
  --force               set, apply: write settings the rules above refuse; update: download
                        into a device that already runs the image's version
  --allow-downgrade     update: download into a device that runs a newer version
  --all                 update: every device a search finds
  --parallel N          update: N downloads at once
  --dry-run             apply, update: report what would change, write nothing
  -v, --verbose         the adapters used, each request sent and every datagram set aside,
                        with the reason, on stderr
  --ip, --mask, --gateway A.B.C.D
  --port N              the device's TCP port, 1 to 65535
  --dhcp on|off
  --timeout SECONDS     fractions allowed, e.g. 0.5
  -h, --help            this text
  --version             the version of lanvista-cli

Results (table, JSON, CSV) go to stdout, every message to stderr.

Exit codes:
  0  success
  1  the device reported failure, did not answer, or does not report the values asked for
  2  usage error: a bad command, option or value; nothing was sent
  3  UDP port 27700 is in use (most likely by an open Lanvista window) or the network
     could not be used
  4  the firmware image was refused by its name or could not be read
  5  the download connection was refused, could not be made in time, or was closed
     before the device's verdict
  6  the results could not be written to stdout
)";
}
