#include "cli/Commands.h"
#include "cli/DeviceLink.h"
#include "cli/ExitCode.h"
#include "cli/InputText.h"
#include "cli/PlanFile.h"
#include "cli/SafeText.h"
#include "cli/SearchRounds.h"
#include "cli/SettingsChange.h"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

namespace {

enum class Outcome { Unchanged, Changed, WouldChange, Failed, Absent };

const char* OutcomeText(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Unchanged: return "unchanged";
    case Outcome::Changed: return "changed";
    case Outcome::WouldChange: return "would change";
    case Outcome::Failed: return "failed";
    case Outcome::Absent: return "absent";
    }
    return "";
}

struct FieldChange {
    const char* field;
    std::string before;
    std::string after;
};

// One planned device on its way: what the search found, what a save writes, how it ended.
struct Step {
    const PlannedDevice* planned = nullptr;
    SetCommand asked;
    FoundDevices found;
    DeviceEdit edit;
    std::vector<FieldChange> changes;
    Outcome outcome = Outcome::Unchanged;
    std::string reason;
};

SetCommand AskedOf(const PlannedDevice& planned, const ApplyCommand& command)
{
    SetCommand asked;
    asked.mac12 = planned.mac12;
    asked.ip = planned.ip;
    asked.mask = planned.mask;
    asked.gateway = planned.gateway;
    asked.port = planned.port;
    asked.dhcp = planned.dhcp;
    asked.timeoutSeconds = command.timeoutSeconds;
    asked.force = command.force;
    return asked;
}

// The fields asked for that differ from what the device reports. Under DHCP the device reports
// its lease, so addresses are compared only while it stays on static settings.
std::vector<FieldChange> ChangesOf(const SetCommand& asked, const DeviceRecord& now, const DeviceEdit& edit)
{
    std::vector<FieldChange> changes;
    const bool addresses = edit.dhcp != 1;
    const auto address = [&](bool given, const char* field, std::uint32_t before, std::uint32_t after) {
        if (given && addresses && before != after)
            changes.push_back({field, DottedAddress(before), DottedAddress(after)});
    };
    address(asked.ip.has_value(), "ip", now.ip, edit.ip);
    address(asked.mask.has_value(), "mask", now.mask, edit.mask);
    address(asked.gateway.has_value(), "gateway", now.gateway, edit.gateway);
    if (asked.port && now.port != edit.port)
        changes.push_back({"port", std::to_string(now.port), std::to_string(edit.port)});
    if (asked.dhcp && now.dhcp != *asked.dhcp)
        changes.push_back({"dhcp", now.dhcp ? "true" : "false", *asked.dhcp ? "true" : "false"});
    return changes;
}

SetCommand OnlyChanged(SetCommand asked, const std::vector<FieldChange>& changes)
{
    const auto changed = [&](std::string_view field) {
        return std::any_of(changes.begin(), changes.end(),
                           [&](const FieldChange& change) { return field == change.field; });
    };
    if (!changed("ip"))
        asked.ip.reset();
    if (!changed("mask"))
        asked.mask.reset();
    if (!changed("gateway"))
        asked.gateway.reset();
    if (!changed("port"))
        asked.port.reset();
    if (!changed("dhcp"))
        asked.dhcp.reset();
    return asked;
}

std::optional<std::string> ReadPlanText(const std::string& path, std::ostream& err)
{
    std::ostringstream text;
    if (path == "-") {
        text << std::cin.rdbuf();
    } else {
        std::ifstream file(PathFromUtf8(path), std::ios::binary);
        if (!file || !(text << file.rdbuf())) {
            err << "lanvista-cli: cannot read the plan " << PrintableText(path) << '\n';
            return std::nullopt;
        }
    }
    return text.str();
}

void WriteReport(std::ostream& out, const std::vector<Step>& steps, bool json)
{
    if (json) {
        out << "[";
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const Step& step = steps[i];
            out << (i == 0 ? "\n" : ",\n") << "  {\"mac\": " << JsonString(MacWithColons(step.planned->mac12))
                << ", \"where\": " << JsonString(step.planned->where)
                << ", \"result\": " << JsonString(OutcomeText(step.outcome)) << ", \"changes\": {";
            for (std::size_t c = 0; c < step.changes.size(); ++c)
                out << (c == 0 ? "" : ", ") << JsonString(step.changes[c].field)
                    << ": {\"before\": " << JsonString(step.changes[c].before)
                    << ", \"after\": " << JsonString(step.changes[c].after) << "}";
            out << "}, \"reason\": " << (step.reason.empty() ? "null" : JsonString(step.reason)) << "}";
        }
        out << (steps.empty() ? "]\n" : "\n]\n");
        return;
    }
    for (const Step& step : steps) {
        out << MacWithColons(step.planned->mac12) << "  " << OutcomeText(step.outcome);
        for (const FieldChange& change : step.changes)
            out << "  " << change.field << ' ' << change.before << " -> " << change.after;
        if (!step.reason.empty())
            out << "  (" << PrintableText(step.reason) << ')';
        out << '\n';
    }
}

} // namespace

int RunApply(const ApplyCommand& command, const std::vector<int>& interfaces, const CliNetwork& network,
             std::ostream& out, std::ostream& err)
{
    const std::optional<std::string> text = ReadPlanText(command.planPath, err);
    if (!text)
        return kExitUsage;
    const Plan plan = ReadPlan(*text);
    if (!plan.problems.empty()) {
        err << "lanvista-cli: the plan is refused, nothing was written:";
        for (const std::string& problem : plan.problems)
            err << "\n  " << problem;
        err << '\n';
        return kExitUsage;
    }

    DeviceLink link(network, interfaces, command.verbose ? &err : nullptr);
    if (const auto failure = link.Open(err))
        return *failure;
    // One search of the whole segment: the planned devices, and the others whose addresses a
    // plan must not take.
    FoundDevices heard;
    if (!SearchRounds(link, std::nullopt, command.timeoutSeconds)
             .Run(heard, [](const FoundDevices&) { return false; }, [](const FoundDevice&) {}, err))
        return kExitNetwork;

    std::vector<Step> steps(plan.devices.size());
    std::map<std::string, Step*> byMac;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        steps[i].planned = &plan.devices[i];
        steps[i].asked = AskedOf(plan.devices[i], command);
        byMac[plan.devices[i].mac12] = &steps[i];
    }
    std::vector<std::uint32_t> othersInUse;
    for (FoundDevice& device : heard) {
        if (const auto step = byMac.find(MacOf(device.record)); step != byMac.end())
            step->second->found.push_back(std::move(device));
        else
            othersInUse.push_back(device.record.ip);
    }

    std::vector<std::string> problems;
    for (Step& step : steps) {
        if (step.found.empty()) {
            step.outcome = Outcome::Absent;
            std::ostringstream reason;
            reason << "did not answer within " << command.timeoutSeconds << " s";
            step.reason = reason.str();
            continue;
        }
        if (step.found.size() > 1) {
            // A save names its device by MAC alone: it would write every one of them.
            step.outcome = Outcome::Failed;
            step.reason = std::to_string(step.found.size()) + " devices answer for this MAC; none was written";
            continue;
        }
        const DeviceRecord& now = step.found.front().record;
        step.changes = ChangesOf(step.asked, now, EditOf(step.asked, now));
        // From here on only what changes counts as asked: the rules, the save and the check
        // judge it as set would judge those fields given alone.
        step.asked = OnlyChanged(step.asked, step.changes);
        step.edit = EditOf(step.asked, now);
        if (step.changes.empty() || command.force)
            continue;
        std::vector<std::string> broken = BrokenRules(PlanOf(step.asked, step.edit));
        if (std::string taken = AddressTakenRule(PlanOf(step.asked, step.edit), othersInUse); !taken.empty())
            broken.push_back(taken);
        for (const std::string& rule : broken)
            problems.push_back(step.planned->where + ": " + MacWithColons(step.planned->mac12) + ": " + rule);
    }
    if (!problems.empty()) {
        err << "lanvista-cli: the plan is refused, nothing was written:";
        for (const std::string& problem : problems)
            err << "\n  " << problem;
        err << "\n  (--force writes it all the same)\n";
        return kExitUsage;
    }

    std::size_t written = 0;
    for (Step& step : steps) {
        if (step.outcome != Outcome::Unchanged || step.changes.empty())
            continue;
        if (command.dryRun) {
            step.outcome = Outcome::WouldChange;
            continue;
        }
        bool sendFailed = false;
        std::ostringstream failure;
        if (SaveInto(link, step.found, step.edit, command.timeoutSeconds, sendFailed, failure)) {
            step.outcome = Outcome::Changed;
            ++written;
        } else {
            step.outcome = Outcome::Failed;
            step.reason = sendFailed ? failure.str()
                                     : "did not confirm " + std::to_string(kAttempts) + " save requests";
        }
    }

    // One search checks every written device; it ends once all of them report their plan.
    if (written > 0) {
        link.Drain();
        std::map<std::string, DeviceRecord> lastSeen;
        std::size_t confirmed = 0;
        FoundDevices after;
        const auto heardAfter = [&](const FoundDevice& device) {
            const std::string mac = MacOf(device.record);
            const auto step = byMac.find(mac);
            if (step == byMac.end() || step->second->outcome != Outcome::Changed)
                return;
            const bool before = lastSeen.contains(mac) && Reports(lastSeen[mac], step->second->asked, step->second->edit);
            lastSeen[mac] = device.record;
            if (!before && Reports(device.record, step->second->asked, step->second->edit))
                ++confirmed;
        };
        if (!SearchRounds(link, std::nullopt, command.timeoutSeconds)
                 .Run(after, [&](const FoundDevices&) { return confirmed == written; }, heardAfter, err))
            return kExitNetwork;
        for (Step& step : steps) {
            if (step.outcome != Outcome::Changed)
                continue;
            const auto seen = lastSeen.find(step.planned->mac12);
            if (seen == lastSeen.end()) {
                step.outcome = Outcome::Failed;
                step.reason = "confirmed the save but did not answer the search afterwards";
            } else if (!Reports(seen->second, step.asked, step.edit)) {
                step.outcome = Outcome::Failed;
                std::string differences = Differences(seen->second, step.asked, step.edit);
                for (std::size_t at = differences.find("\n  "); at != std::string::npos;
                     at = differences.find("\n  ", at))
                    differences.replace(at, 3, at == 0 ? " " : "; ");
                step.reason = "confirmed the save but does not report the new settings:" + differences;
            }
        }
    }

    WriteReport(out, steps, command.json);
    const bool asPlanned = std::all_of(steps.begin(), steps.end(), [](const Step& step) {
        return step.outcome == Outcome::Unchanged || step.outcome == Outcome::Changed ||
               step.outcome == Outcome::WouldChange;
    });
    return asPlanned ? kExitSuccess : kExitDevice;
}
