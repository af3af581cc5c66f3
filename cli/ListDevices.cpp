#include "cli/Commands.h"
#include "cli/DeviceLink.h"
#include "cli/DeviceOutput.h"
#include "cli/ExitCode.h"

int RunList(const ListCommand& command, const CliNetwork& network, std::ostream& out, std::ostream& err)
{
    DeviceLink link(network, command.interfaces);
    if (const auto failure = link.Open(err))
        return *failure;
    if (!link.Send(SearchRequestFor(command.mac12, TickSeed()), err))
        return kExitNetwork;

    const auto deadline = DeadlineIn(command.timeoutSeconds);
    FoundDevices devices;
    while (auto reply = link.NextReply(deadline)) {
        // A device that answers a search meant for another is not the one asked for.
        if (reply->device && (!command.mac12 || IsDevice(reply->device->record, *command.mac12))) {
            // The decoded fields are all that is printed; a burst of thousands keeps no raw copy.
            std::string().swap(reply->device->record.text);
            devices.push_back(std::move(*reply->device));
        }
    }

    switch (command.format) {
    case ListFormat::Table: WriteTable(out, devices); break;
    case ListFormat::Json: WriteJson(out, devices); break;
    case ListFormat::Csv: WriteCsv(out, devices); break;
    }
    out.flush();
    if (devices.empty())
        err << "lanvista-cli: no device answered within " << command.timeoutSeconds << " s\n";
    return kExitSuccess;
}
