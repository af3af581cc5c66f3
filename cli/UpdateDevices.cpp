#include "cli/Commands.h"
#include "cli/DeviceLink.h"
#include "cli/ExitCode.h"
#include "cli/FirmwareVersion.h"
#include "cli/ImageDownload.h"
#include "cli/InputText.h"
#include "cli/SafeText.h"
#include "cli/SearchRounds.h"
#include "cli/TeeStream.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <set>
#include <sstream>
#include <thread>

namespace {

// The search for the devices' versions lasts no longer than list's does by default.
constexpr double kLongestSearchSeconds = 2;
// While updated devices restart, the search that confirms them goes out this often.
constexpr auto kConfirmRound = std::chrono::milliseconds(500);
// How every message of the tool begins.
constexpr std::string_view kProgram = "lanvista-cli: ";

enum class Result { Pending, Updated, WouldUpdate, Skipped, Refused, Failed, Absent };

const char* ResultText(Result result)
{
    switch (result) {
    case Result::Pending: return "pending";
    case Result::Updated: return "updated";
    case Result::WouldUpdate: return "would update";
    case Result::Skipped: return "skipped";
    case Result::Refused: return "refused";
    case Result::Failed: return "failed";
    case Result::Absent: return "absent";
    }
    return "";
}

// One device to update, and how it went.
struct Target {
    std::optional<std::uint32_t> address;
    std::optional<std::string> mac12;
    bool found = false;                   // the search found it, so its version is known
    std::optional<std::string> before;    // the version the search found
    std::optional<std::string> after;     // the version it reported after the download
    Result result = Result::Pending;
    int exitCode = kExitSuccess;
    std::string reason;
};

std::optional<std::string> VersionOf(const DeviceRecord& record)
{
    if (!record.version)
        return std::nullopt;
    return TrimmedVersion(*record.version);
}

void Fail(Target& target, Result result, std::string reason)
{
    target.result = result;
    target.exitCode = kExitDevice;
    target.reason = std::move(reason);
}

// The devices among those heard that match: one is the target, none leaves it unfound, and
// several are refused since a download by address cannot tell them apart.
void Resolve(Target& target, const std::vector<const FoundDevice*>& matches, const char* what)
{
    std::set<std::pair<std::string, std::uint32_t>> devices;
    for (const FoundDevice* device : matches)
        devices.emplace(MacOf(device->record), device->record.ip);
    if (devices.size() > 1) {
        Fail(target, Result::Failed, std::to_string(devices.size()) + " devices answer for this " + what +
                                         "; none was updated");
        return;
    }
    if (devices.empty())
        return;
    const DeviceRecord& record = matches.front()->record;
    target.found = true;
    target.address = record.ip;
    target.mac12 = MacOf(record);
    target.before = VersionOf(record);
}

std::vector<Target> TargetsOf(const UpdateCommand& command, const FoundDevices& heard, double searchSeconds)
{
    std::vector<Target> targets;
    const auto matching = [&](const auto& matches) {
        std::vector<const FoundDevice*> found;
        for (const FoundDevice& device : heard)
            if (matches(device.record))
                found.push_back(&device);
        return found;
    };
    if (command.all) {
        std::vector<std::string> macs;
        for (const FoundDevice& device : heard)
            if (std::find(macs.begin(), macs.end(), MacOf(device.record)) == macs.end())
                macs.push_back(MacOf(device.record));
        for (const std::string& mac : macs) {
            Target& target = targets.emplace_back();
            target.mac12 = mac;
            Resolve(target, matching([&](const DeviceRecord& r) { return MacOf(r) == mac; }), "MAC");
        }
        return targets;
    }
    for (const std::uint32_t address : command.addresses) {
        Target& target = targets.emplace_back();
        target.address = address;
        Resolve(target, matching([&](const DeviceRecord& r) { return r.ip == address; }), "address");
    }
    for (const std::string& mac : command.macs) {
        Target& target = targets.emplace_back();
        target.mac12 = mac;
        Resolve(target, matching([&](const DeviceRecord& r) { return MacOf(r) == mac; }), "MAC");
        if (!target.found && target.result == Result::Pending) {
            std::ostringstream reason;
            reason << "did not answer within " << searchSeconds << " s";
            Fail(target, Result::Absent, reason.str());
        }
    }
    // A device named twice, by address and by MAC, is updated once.
    std::vector<Target> once;
    for (Target& target : targets) {
        const bool named = std::any_of(once.begin(), once.end(), [&](const Target& earlier) {
            return target.address && earlier.address == target.address && earlier.result == Result::Pending;
        });
        if (!named)
            once.push_back(std::move(target));
    }
    return once;
}

// The version rules: a device that runs the image's version already is skipped, one that
// runs a newer one refused, unless asked otherwise.
void CheckVersion(Target& target, const std::string& imageVersion, const UpdateCommand& command)
{
    if (!target.before)
        return;
    const std::optional<int> order = CompareVersions(*target.before, imageVersion);
    if (!order)
        return;
    if (*order == 0 && !command.force) {
        target.result = Result::Skipped;
        target.reason = "already runs " + imageVersion + " (--force downloads it again)";
    } else if (*order > 0 && !command.allowDowngrade) {
        Fail(target, Result::Refused,
             "runs " + *target.before + ", newer than the image's " + imageVersion + " (--allow-downgrade downloads it)");
    }
}

// The last line of a download's messages, without the program's name: its reason.
std::string LastMessage(const std::string& messages)
{
    std::string_view text(messages);
    while (!text.empty() && text.back() == '\n')
        text.remove_suffix(1);
    text = text.substr(text.rfind('\n') == std::string_view::npos ? 0 : text.rfind('\n') + 1);
    if (text.substr(0, kProgram.size()) == kProgram)
        text.remove_prefix(kProgram.size());
    return std::string(text);
}

// Each line of a download's messages names its device, since several downloads share stderr.
std::string NamedLines(const std::string& messages, const std::string& device)
{
    std::istringstream lines(messages);
    std::string named;
    for (std::string line; std::getline(lines, line);) {
        if (line.compare(0, kProgram.size(), kProgram) == 0)
            line.insert(kProgram.size(), device + ": ");
        named += line + '\n';
    }
    return named;
}

void Downloaded(Target& target, int exitCode, const std::string& messages)
{
    target.exitCode = exitCode;
    if (exitCode != kExitSuccess) {
        target.result = Result::Failed;
        target.reason = LastMessage(messages);
    }
}

// The downloads, up to command.parallel at once; one that fails leaves the others running.
void DownloadAll(const std::vector<Target*>& pending, const FirmwareImage& image, const CliNetwork& network,
                 const UpdateCommand& command, std::ostream& err)
{
    const DownloadOptions options{command.timeoutSeconds, command.verbose, false};
    std::atomic<std::size_t> next{0};
    std::mutex errLock;
    const auto work = [&] {
        for (std::size_t i = next++; i < pending.size(); i = next++) {
            Target& target = *pending[i];
            std::ostringstream messages;
            const int exitCode = DownloadImage(image, *target.address, network.downloadPort, options, messages);
            const std::lock_guard lock(errLock);
            Downloaded(target, exitCode, messages.str());
            err << NamedLines(messages.str(), DottedAddress(*target.address)) << std::flush;
        }
    };
    std::vector<std::thread> workers;
    for (std::size_t i = 0; i < std::min(command.parallel, pending.size()); ++i)
        workers.emplace_back(work);
    for (std::thread& worker : workers)
        worker.join();
}

// Searches until every device that reported success answers with the image's version, or
// the timeout has passed; a device may answer with its old version before it restarts.
void Confirm(DeviceLink& link, const std::vector<Target*>& updated, const std::string& imageVersion,
             double timeoutSeconds, std::ostream& err)
{
    const auto confirmed = [&](const Target& target) {
        return target.after && CompareVersions(*target.after, imageVersion) == 0;
    };
    const auto done = [&] { return std::all_of(updated.begin(), updated.end(), [&](Target* t) { return confirmed(*t); }); };
    std::optional<std::string> mac12;
    if (updated.size() == 1)
        mac12 = updated.front()->mac12;
    link.Drain();
    const auto end = DeadlineIn(timeoutSeconds);
    bool sentOnce = false;
    std::ostringstream lastFailure;
    while (!done() && std::chrono::steady_clock::now() < end) {
        lastFailure.str({});
        sentOnce = link.Send(SearchRequestFor(mac12, TickSeed()), lastFailure) || sentOnce;
        const auto roundEnd = std::min(end, std::chrono::steady_clock::now() + kConfirmRound);
        while (!done()) {
            const auto reply = link.NextReply(roundEnd);
            if (!reply)
                break;
            if (!reply->device)
                continue;
            const std::string mac = MacOf(reply->device->record);
            for (Target* target : updated)
                if (target->mac12 == mac && !confirmed(*target))
                    target->after = VersionOf(reply->device->record);
        }
    }
    if (!sentOnce)
        err << lastFailure.str();
    std::ostringstream waited;
    waited << timeoutSeconds << " s";
    for (Target* target : updated) {
        if (confirmed(*target))
            continue;
        target->exitCode = kExitDevice;
        target->result = Result::Failed;
        if (!sentOnce)
            target->reason = "reported success, but no search to confirm it could be sent";
        else if (!target->after)
            target->reason = "reported success but did not answer a search within " + waited.str();
        else if (target->before && *target->after == *target->before)
            target->reason = "reported success but still runs " + *target->after;
        else
            target->reason = "reported success but runs " + *target->after + ", not the image's " + imageVersion;
    }
}

std::string Versions(const Target& target)
{
    if ((target.result == Result::Updated || target.result == Result::WouldUpdate) && target.before && target.after)
        return *target.before + " -> " + *target.after;
    if (target.before)
        return *target.before;
    return {};
}

void WriteReport(std::ostream& out, const std::vector<Target>& targets, bool json)
{
    const auto jsonOr = [](const std::optional<std::string>& text) { return text ? JsonString(*text) : "null"; };
    if (json) {
        out << "[";
        for (std::size_t i = 0; i < targets.size(); ++i) {
            const Target& t = targets[i];
            const auto mac = t.mac12 ? std::optional(MacWithColons(*t.mac12)) : std::nullopt;
            const auto address = t.address ? std::optional(DottedAddress(*t.address)) : std::nullopt;
            const auto after = t.result == Result::Updated || t.result == Result::WouldUpdate ? t.after : std::nullopt;
            out << (i == 0 ? "\n" : ",\n") << "  {\"mac\": " << jsonOr(mac) << ", \"address\": " << jsonOr(address)
                << ", \"result\": " << JsonString(ResultText(t.result)) << ", \"before\": " << jsonOr(t.before)
                << ", \"after\": " << jsonOr(after)
                << ", \"reason\": " << (t.reason.empty() ? "null" : JsonString(t.reason)) << "}";
        }
        out << (targets.empty() ? "]\n" : "\n]\n");
        return;
    }
    for (const Target& t : targets) {
        out << (t.mac12 ? MacWithColons(*t.mac12) : "-") << "  " << (t.address ? DottedAddress(*t.address) : "-")
            << "  " << ResultText(t.result);
        if (const std::string versions = Versions(t); !versions.empty())
            out << "  " << PrintableText(versions);
        if (!t.reason.empty())
            out << "  (" << PrintableText(t.reason) << ')';
        out << '\n';
    }
}

} // namespace

int RunUpdate(const UpdateCommand& command, const std::vector<int>& interfaces, const CliNetwork& network,
              bool showProgress, std::ostream& out, std::ostream& err)
{
    std::optional<FirmwareImage> image = LoadImage(command.imagePath, err);
    if (!image)
        return kExitImage;
    const std::optional<std::string> imageVersion = VersionFromImageName(command.imagePath);
    if (!imageVersion)
        err << "lanvista-cli: note: the image's file name holds no version (as in Brimnet_v3.08.bin), so the "
               "devices' versions are neither checked nor confirmed\n";

    DeviceLink link(network, interfaces, command.verbose ? &err : nullptr);
    const double searchSeconds = std::min(command.timeoutSeconds, kLongestSearchSeconds);
    std::set<std::uint32_t> addressesLeft(command.addresses.begin(), command.addresses.end());
    std::set<std::string> macsLeft(command.macs.begin(), command.macs.end());
    FoundDevices heard;
    const auto heardOne = [&](const FoundDevice& device) {
        addressesLeft.erase(device.record.ip);
        macsLeft.erase(MacOf(device.record));
    };
    const auto allHeard = [&](const FoundDevices&) {
        return !command.all && addressesLeft.empty() && macsLeft.empty();
    };
    const auto onlyMac = command.addresses.empty() && command.macs.size() == 1 ? std::optional(command.macs.front())
                                                                                : std::nullopt;
    std::ostringstream searchFailure;
    std::optional<int> failure = link.Open(searchFailure);
    if (!failure && !SearchRounds(link, onlyMac, searchSeconds).Run(heard, allHeard, heardOne, searchFailure))
        failure = kExitNetwork;
    if (failure) {
        // Devices given by address can be updated without the search (its port may be held by
        // an open Lanvista window); the others are known by a search alone.
        err << searchFailure.str();
        if (command.all || !command.macs.empty())
            return *failure;
        err << "lanvista-cli: note: with no search the devices' versions are neither checked nor confirmed\n";
    }

    std::vector<Target> targets = TargetsOf(command, heard, searchSeconds);
    if (targets.empty())
        err << "lanvista-cli: no device answered the search within " << searchSeconds << " s; nothing was updated\n";
    std::vector<Target*> pending;
    for (Target& target : targets) {
        if (imageVersion && target.result == Result::Pending)
            CheckVersion(target, *imageVersion, command);
        if (target.result != Result::Pending)
            continue;
        pending.push_back(&target);
        if (!target.found)
            target.reason = failure ? "no search could be made: its version was neither checked nor confirmed"
                                    : "did not answer the search: its version was neither checked nor confirmed";
        else if (!imageVersion)
            target.reason = "not confirmed: the image's file name holds no version";
    }

    if (command.dryRun) {
        for (Target* target : pending) {
            target->result = Result::WouldUpdate;
            target->after = imageVersion;
        }
        pending.clear();
    } else if (pending.size() == 1 && targets.size() == 1) {
        // One device alone keeps stderr to itself, progress bar included.
        std::ostringstream messages;
        TeeStream both(err, messages);
        const int exitCode = DownloadImage(std::move(*image), *pending.front()->address, network.downloadPort,
                                           {command.timeoutSeconds, command.verbose, showProgress}, both);
        Downloaded(*pending.front(), exitCode, messages.str());
    } else {
        DownloadAll(pending, *image, network, command, err);
    }

    std::vector<Target*> toConfirm;
    for (Target* target : pending) {
        if (target->result != Result::Pending)
            continue;
        target->result = Result::Updated;
        if (target->found && imageVersion)
            toConfirm.push_back(target);
    }
    if (!toConfirm.empty())
        Confirm(link, toConfirm, *imageVersion, command.timeoutSeconds, err);

    WriteReport(out, targets, command.json);
    for (const Target& target : targets)
        if (target.result == Result::Failed || target.result == Result::Refused || target.result == Result::Absent)
            return target.exitCode;
    return kExitSuccess;
}
