#include "cli/SettingsChange.h"

#include "cli/ExitCode.h"
#include "cli/InputText.h"

#include <sstream>

namespace {

std::string OnOff(bool on)
{
    return on ? "on" : "off";
}

} // namespace

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

bool Reports(const DeviceRecord& record, const SetCommand& command, const DeviceEdit& edit)
{
    const bool addresses = record.dhcp || ((!command.ip || record.ip == edit.ip) &&
                                           (!command.mask || record.mask == edit.mask) &&
                                           (!command.gateway || record.gateway == edit.gateway));
    return addresses && (!command.port || record.port == edit.port) && (!command.dhcp || record.dhcp == *command.dhcp);
}


std::string Describe(const DeviceEdit& edit)
{
    return "ip " + DottedAddress(edit.ip) + ", mask " + DottedAddress(edit.mask) + ", gateway " +
           DottedAddress(edit.gateway) + ", port " + std::to_string(edit.port) + ", dhcp " + OnOff(edit.dhcp == 1);
}

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

