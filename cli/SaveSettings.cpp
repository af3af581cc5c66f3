#include "cli/Commands.h"
#include "cli/DeviceLink.h"
#include "cli/ExitCode.h"
#include "cli/InputText.h"
#include "cli/SearchRounds.h"
#include "cli/SettingsChange.h"
#include "cli/SettingsRules.h"

#include <functional>
#include <sstream>


int RunSet(const SetCommand& command, const std::vector<int>& interfaces, const CliNetwork& network,
           std::ostream& err)
{
    const std::string mac = MacWithColons(command.mac12);
    // Rules that the command line alone breaks, before anything is sent.
    if (!command.force) {
        const PlannedSettings known{command.ip,  command.mask,      command.gateway,        command.dhcp.value_or(false),
                                    command.ip.has_value(), command.mask.has_value(), command.gateway.has_value()};
        if (const auto broken = BrokenRules(known); !broken.empty())
            return Refuse(broken, err);
    }
    DeviceLink link(network, interfaces, command.verbose ? &err : nullptr);
    if (const auto failure = link.Open(err))
        return *failure;

    // The whole first search: every device when a new address must be free, the one asked
    // for otherwise; either way all that answer for its MAC.
    const bool wantsEveryone = command.ip.has_value() && !command.force;
    FoundDevices heard;
    if (!SearchRounds(link, wantsEveryone ? std::nullopt : std::optional(command.mac12), command.timeoutSeconds)
             .Run(heard, [](const FoundDevices&) { return false; }, [](const FoundDevice&) {}, err))
        return kExitNetwork;
    FoundDevices device;
    std::vector<std::uint32_t> othersInUse;
    for (FoundDevice& found : heard) {
        if (IsDevice(found.record, command.mac12))
            device.push_back(std::move(found));
        else
            othersInUse.push_back(found.record.ip);
    }
    if (device.empty()) {
        err << "lanvista-cli: no device " << mac << " answered within " << command.timeoutSeconds << " s\n";
        return kExitDevice;
    }
    if (device.size() > 1) {
        // A save names its device by MAC alone: it would write every one of them.
        err << "lanvista-cli: " << device.size() << " devices answer for " << mac
            << "; a save would write them all, so nothing was written:";
        for (const FoundDevice& twin : device)
            err << "\n  " << DeviceLine(twin);
        err << '\n';
        return kExitDevice;
    }

    const DeviceEdit edit = EditOf(command, device.front().record);
    if (!command.force) {
        std::vector<std::string> broken = BrokenRules(PlanOf(command, edit));
        if (std::string taken = AddressTakenRule(PlanOf(command, edit), othersInUse); !taken.empty())
            broken.push_back(taken);
        if (!broken.empty())
            return Refuse(broken, err);
    }

    bool sendFailed = false;
    if (!SaveInto(link, device, edit, command.timeoutSeconds, sendFailed, err)) {
        if (sendFailed)
            return kExitNetwork;
        err << "lanvista-cli: " << mac << " did not confirm " << kAttempts
            << " save requests; its settings may or may not have changed\n";
        return kExitDevice;
    }

    // The check: searches for the device until it reports what was asked.
    std::optional<DeviceRecord> lastSeen;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        link.Drain();
        FoundDevices after;
        bool reported = false;
        if (!SearchRounds(link, command.mac12, command.timeoutSeconds)
                 .Run(after,
                      [&](const FoundDevices& replies) {
                          reported = Reports(replies.back().record, command, edit);
                          return reported;
                      },
                      [&](const FoundDevice& reply) { lastSeen = reply.record; }, err))
            return kExitNetwork;
        if (reported) {
            err << "lanvista-cli: " << mac << " saved and confirmed: " << Describe(edit) << '\n';
            return kExitSuccess;
        }
    }
    if (lastSeen)
        err << "lanvista-cli: " << mac << " confirmed the save but does not report the new settings:"
            << Differences(*lastSeen, command, edit) << '\n';
    else
        err << "lanvista-cli: " << mac << " confirmed the save but did not answer " << kAttempts
            << " searches afterwards\n";
    return kExitDevice;
}
