#include "cli/Cli.h"

#include "cli/Commands.h"
#include "cli/ExitCode.h"
#include "lanvista/Version.h"

#include <type_traits>

int RunCli(const std::vector<std::string>& arguments, const CliNetwork& network, std::ostream& out,
           std::ostream& err, bool errIsTerminal)
{
    const ParsedCommandLine parsed = ParseCommandLine(arguments);
    if (!parsed.command) {
        err << "lanvista-cli: " << parsed.error << "\nTry 'lanvista-cli --help'.\n";
        return kExitUsage;
    }
    return std::visit(
        [&](const auto& command) -> int {
            using Kind = std::decay_t<decltype(command)>;
            if constexpr (std::is_same_v<Kind, HelpCommand>) {
                out << HelpText();
                return kExitSuccess;
            } else if constexpr (std::is_same_v<Kind, VersionCommand>) {
                out << "lanvista-cli " << LANVISTA_VERSION << '\n';
                return kExitSuccess;
            } else if constexpr (std::is_same_v<Kind, ListCommand>) {
                return RunList(command, network, out, err);
            } else if constexpr (std::is_same_v<Kind, SetCommand>) {
                return RunSet(command, network, err);
            } else {
                return RunUpdate(command, network, errIsTerminal, err);
            }
        },
        *parsed.command);
}
