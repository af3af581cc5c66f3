#include "cli/Cli.h"

#include "cli/Commands.h"
#include "cli/ExitCode.h"
#include "cli/SafeText.h"
#include "cli/UdpLink.h"
#include "lanvista/Version.h"

#include <optional>
#include <type_traits>

namespace {

int UsageError(const std::string& error, std::ostream& err)
{
    err << "lanvista-cli: " << PrintableText(error) << "\nTry 'lanvista-cli --help'.\n";
    return kExitUsage;
}

// The indexes of the adapters named (by their own name or an address's label); std::nullopt
// with the error written when one has none, since nothing may be sent then.
std::optional<std::vector<int>> InterfaceIndexes(const std::vector<std::string>& names, std::ostream& err)
{
    std::vector<int> indexes;
    for (const std::string& name : names) {
        const int index = UdpLink::InterfaceIndex(name);
        if (index == 0) {
            UsageError("no network adapter \"" + name + "\" (see ip -brief address)", err);
            return std::nullopt;
        }
        indexes.push_back(index);
    }
    return indexes;
}

}  // namespace

int RunCli(const std::vector<std::string>& arguments, const CliNetwork& network, std::ostream& out,
           std::ostream& err, bool errIsTerminal)
{
    const ParsedCommandLine parsed = ParseCommandLine(arguments);
    if (!parsed.command)
        return UsageError(parsed.error, err);
    const int status = std::visit(
        [&](const auto& command) -> int {
            using Kind = std::decay_t<decltype(command)>;
            if constexpr (std::is_same_v<Kind, HelpCommand>) {
                out << HelpText();
                return kExitSuccess;
            } else if constexpr (std::is_same_v<Kind, VersionCommand>) {
                out << "lanvista-cli " << LANVISTA_VERSION << '\n';
                return kExitSuccess;
            } else {
                const auto interfaces = InterfaceIndexes(command.interfaces, err);
                if (!interfaces)
                    return kExitUsage;
                if constexpr (std::is_same_v<Kind, ListCommand>)
                    return RunList(command, *interfaces, network, out, err);
                else if constexpr (std::is_same_v<Kind, SetCommand>)
                    return RunSet(command, *interfaces, network, err);
                else if constexpr (std::is_same_v<Kind, UpdateCommand>)
                    return RunUpdate(command, *interfaces, network, errIsTerminal, out, err);
                else
                    return RunApply(command, *interfaces, network, out, err);
            }
        },
        *parsed.command);
    // Results that never reached their reader are a failure, whatever else went well.
    out.flush();
    if (!out) {
        err << "lanvista-cli: the results could not be written to standard output (is it closed, or its disk full?)\n";
        return kExitOutput;
    }
    return status;
}
