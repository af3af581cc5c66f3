#include "cli/Commands.h"
#include "cli/DeviceLink.h"
#include "cli/ExitCode.h"
#include "cli/InputText.h"

#include <functional>
#include <sstream>

namespace {

// Each request that gets no answer goes out this many times in all.
constexpr int kAttempts = 3;

struct SearchResult {
    bool sendFailed = false;
    std::optional<DeviceRecord> wanted;    // the first reply that had what was looked for
    std::optional<DeviceRecord> lastSeen;  // the last reply of the device that had not
};

// Searches for the device until one of its replies passes `isWanted`.
SearchResult SearchDevice(DeviceLink& link, const SetCommand& command,
                          const std::function<bool(const DeviceRecord&)>& isWanted, std::ostream& err)
{
    SearchResult result;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        link.Drain();
        if (!link.Send(SearchRequestFor(command.mac12, TickSeed()), err)) {
            result.sendFailed = true;
            return result;
        }
        const auto deadline = DeadlineIn(command.timeoutSeconds);
        while (auto reply = link.NextReply(deadline)) {
            if (!reply->device || !IsDevice(reply->device->record, command.mac12))
                continue;
            // A late copy of an earlier reply may come before the one that counts.
            if (isWanted(reply->device->record)) {
                result.wanted = std::move(reply->device->record);
                return result;
            }
            result.lastSeen = std::move(reply->device->record);
        }
    }
    return result;
}

// Sends the save request until a save reply comes; false when none does.
bool SaveInto(DeviceLink& link, const DeviceRecord& device, const DeviceEdit& edit, double timeoutSeconds,
              bool& sendFailed, std::ostream& err)
{
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        link.Drain();
        if (!link.Send(BuildSaveRequest(device, edit, TickSeed()), err)) {
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

bool Reports(const DeviceRecord& record, const DeviceEdit& edit)
{
    return record.ip == edit.ip && record.mask == edit.mask && record.gateway == edit.gateway &&
           record.port == edit.port && record.dhcp == (edit.dhcp == 1);
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

// "ip: asked 10.0.0.5, reports 10.0.0.4" for each field that differs.
std::string Differences(const DeviceRecord& record, const DeviceEdit& edit)
{
    std::ostringstream text;
    const auto field = [&](const char* name, const std::string& asked, const std::string& reported) {
        if (asked != reported)
            text << "\n  " << name << ": asked " << asked << ", the device reports " << reported;
    };
    field("ip", DottedAddress(edit.ip), DottedAddress(record.ip));
    field("mask", DottedAddress(edit.mask), DottedAddress(record.mask));
    field("gateway", DottedAddress(edit.gateway), DottedAddress(record.gateway));
    field("port", std::to_string(edit.port), std::to_string(record.port));
    field("dhcp", OnOff(edit.dhcp == 1), OnOff(record.dhcp));
    return text.str();
}

} // namespace

int RunSet(const SetCommand& command, const CliNetwork& network, std::ostream& err)
{
    const std::string mac = MacWithColons(command.mac12);
    DeviceLink link(network, command.interfaces);
    if (const auto failure = link.Open(err))
        return *failure;

    const SearchResult current = SearchDevice(link, command, [](const DeviceRecord&) { return true; }, err);
    if (current.sendFailed)
        return kExitNetwork;
    if (!current.wanted) {
        err << "lanvista-cli: no device " << mac << " answered " << kAttempts << " searches\n";
        return kExitDevice;
    }

    const DeviceEdit edit = EditOf(command, *current.wanted);
    bool sendFailed = false;
    if (!SaveInto(link, *current.wanted, edit, command.timeoutSeconds, sendFailed, err)) {
        if (sendFailed)
            return kExitNetwork;
        err << "lanvista-cli: " << mac << " did not confirm " << kAttempts
            << " save requests; its settings may or may not have changed\n";
        return kExitDevice;
    }

    const SearchResult after =
        SearchDevice(link, command, [&](const DeviceRecord& record) { return Reports(record, edit); }, err);
    if (after.sendFailed)
        return kExitNetwork;
    if (after.wanted) {
        err << "lanvista-cli: " << mac << " saved and confirmed: " << Describe(edit) << '\n';
        return kExitSuccess;
    }
    if (after.lastSeen)
        err << "lanvista-cli: " << mac << " confirmed the save but does not report the new settings:"
            << Differences(*after.lastSeen, edit) << '\n';
    else
        err << "lanvista-cli: " << mac << " confirmed the save but did not answer " << kAttempts
            << " searches afterwards\n";
    return kExitDevice;
}
