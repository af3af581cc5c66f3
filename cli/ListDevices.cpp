#include "cli/Commands.h"
#include "cli/DeviceLink.h"
#include "cli/DeviceOutput.h"
#include "cli/ExitCode.h"
#include "cli/SearchRounds.h"

int RunList(const ListCommand& command, const std::vector<int>& interfaces, const CliNetwork& network,
            std::ostream& out, std::ostream& err)
{
    DeviceLink link(network, interfaces, command.verbose ? &err : nullptr);
    if (const auto failure = link.Open(err))
        return *failure;

    FoundDevices devices;
    const SearchRounds::Stop stop = [&](const FoundDevices& heard) {
        return (command.count && heard.size() >= *command.count) || (command.mac12 && !heard.empty());
    };
    const SearchRounds::Heard heard = [&](const FoundDevice& device) {
        if (command.format == ListFormat::JsonLines) {
            WriteJsonLine(out, device);
            out.flush();
        }
    };
    if (!SearchRounds(link, command.mac12, command.timeoutSeconds).Run(devices, stop, heard, err))
        return kExitNetwork;
    // The decoded fields are all that is printed; a burst of thousands keeps no raw copy.
    for (FoundDevice& device : devices)
        std::string().swap(device.record.text);

    switch (command.format) {
    case ListFormat::Table: WriteTable(out, devices); break;
    case ListFormat::Json: WriteJson(out, devices); break;
    case ListFormat::JsonLines: break;
    case ListFormat::Csv: WriteCsv(out, devices); break;
    }
    if (devices.empty())
        err << "lanvista-cli: no device answered within " << command.timeoutSeconds << " s on "
            << (link.AdaptersUsed().empty() ? std::string("the default route") : link.AdaptersUsed())
            << ".\n  Most likely no adapter of this PC is on the devices' segment, or a firewall drops their\n"
               "  replies to UDP port 27700; -v shows every datagram that came in, and TROUBLESHOOTING in\n"
               "  'man lanvista-cli' says what to try.\n";
    return kExitSuccess;
}
