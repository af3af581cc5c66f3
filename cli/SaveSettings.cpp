#include "cli/Commands.h"
#include "cli/DeviceLink.h"
#include "cli/ExitCode.h"
#include "cli/InputText.h"
#include "cli/SearchRounds.h"
#include "cli/SettingsRules.h"

#include <functional>
#include <sstream>

namespace {

// Each save that gets no answer, and the search that checks it, go out this many times in all.
constexpr int kAttempts = 3;

DeviceEdit EditOf(const SetCommand& command, const DeviceRecord& current)
{
    DeviceEdit edit;
    edit.ip = command.ip.value_or(current.ip);
    edit.mask = command.mask.value_or(current.mask);
    edit.gateway = command.gateway.value_or(current.gateway);
    edit.port = command.port.value_or(current.port);
    edit.dhcp = command.dhcp.value_or(current.dhcp) ? 1 : 0;
    return edit;
}

PlannedSettings PlanOf(const SetCommand& command, const DeviceEdit& edit)
{
    return {edit.ip, edit.mask, edit.gateway, edit.dhcp == 1, command.ip.has_value(), command.mask.has_value(),
            command.gateway.has_value()};
}

// Whether the device reports what was asked. A device on DHCP reports the addresses of its
// lease, which replace the ones written, so they are not compared then.
bool Reports(const DeviceRecord& record, const SetCommand& command, const DeviceEdit& edit)
{
    const bool addresses = record.dhcp || ((!command.ip || record.ip == edit.ip) &&
                                           (!command.mask || record.mask == edit.mask) &&
                                           (!command.gateway || record.gateway == edit.gateway));
    return addresses && (!command.port || record.port == edit.port) && (!command.dhcp || record.dhcp == *command.dhcp);
}

std::string OnOff(bool on)
{
    return on ? "on" : "off";
}

std::string Describe(const DeviceEdit& edit)
{
    return "ip " + DottedAddress(edit.ip) + ", mask " + DottedAddress(edit.mask) + ", gateway " +
           DottedAddress(edit.gateway) + ", port " + std::to_string(edit.port) + ", dhcp " + OnOff(edit.dhcp == 1);
}

// "ip: asked 10.0.0.5, reports 10.0.0.4" for each field asked for that differs.
std::string Differences(const DeviceRecord& record, const SetCommand& command, const DeviceEdit& edit)
{
    std::ostringstream text;
    const auto field = [&](bool asked, const char* name, const std::string& wanted, const std::string& reported) {
        if (asked && wanted != reported)
            text << "\n  " << name << ": asked " << wanted << ", the device reports " << reported;
    };
    field(command.ip && !record.dhcp, "ip", DottedAddress(edit.ip), DottedAddress(record.ip));
    field(command.mask && !record.dhcp, "mask", DottedAddress(edit.mask), DottedAddress(record.mask));
    field(command.gateway && !record.dhcp, "gateway", DottedAddress(edit.gateway), DottedAddress(record.gateway));
    field(command.port.has_value(), "port", std::to_string(edit.port), std::to_string(record.port));
    field(command.dhcp.has_value(), "dhcp", OnOff(edit.dhcp == 1), OnOff(record.dhcp));
    return text.str();
}

int Refuse(const std::vector<std::string>& broken, std::ostream& err)
{
    err << "lanvista-cli: refused, nothing was written:";
    for (const std::string& rule : broken)
        err << "\n  " << rule;
    err << "\n  (--force writes it all the same)\n";
    return kExitUsage;
}

// Sends the save request back the ways the device was heard until a save reply comes.
bool SaveInto(DeviceLink& link, const FoundDevices& device, const DeviceEdit& edit, double timeoutSeconds,
              bool& sendFailed, std::ostream& err)
{
    const std::vector<DatagramArrival> ways = WaysOf(device);
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        link.Drain();
        if (!link.Send(BuildSaveRequest(device.front().record, edit, TickSeed()), err, ways)) {
            sendFailed = true;
            return false;
        }
        const auto deadline = DeadlineIn(timeoutSeconds);
        while (auto reply = link.NextReply(deadline))
            if (reply->kind == ReplyKind::SaveReply)
                return true;
    }
    return false;
}

} // namespace

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
