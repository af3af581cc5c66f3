// Search replies per second of lanvista-cli's own CPU time: devsim answers one "list" with a
// burst of 5,000 devices on 127.0.0.1. Each round runs the command in a fresh child process,
// as a real run starts cold, and takes the child's CPU time: opening its port, taking in and
// checking every reply, and writing the JSON (or, given --csv or --table, that form). Waiting
// for the burst costs no CPU time. Goal: at least 200,000 replies/s, every device listed.
// A program, not a test: it prints its figures and exits 0 unless devsim cannot start.
#include "cli/Cli.h"
#include "tests/devsim/DevsimProcess.h"

#include <QCoreApplication>

#include <nlohmann/json.hpp>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

constexpr int kDevices = 5000;
constexpr int kRounds = 7;
// Long enough for the whole burst.
const char* const kCollectSeconds = "2";

struct Round {
    double cpuSeconds = 0;
    double systemSeconds = 0;  // of cpuSeconds, in the kernel
    long pageFaults = 0;
    std::size_t listed = 0;
};

// Devices listed in the output of one format.
std::size_t Listed(const std::string& format, const std::string& out)
{
    if (format == "--json")
        return nlohmann::json::parse(out).size();
    // One header line above the devices.
    return static_cast<std::size_t>(std::count(out.begin(), out.end(), '\n')) - 1;
}

double Seconds(const timeval& time)
{
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

// One list in a child process writing to outPath; its CPU time and what it listed.
Round RunOnce(const std::vector<std::string>& arguments, const CliNetwork& network, const std::string& format,
              const std::string& outPath)
{
    const pid_t child = fork();
    if (child == 0) {
        std::ofstream out(outPath);
        std::ostringstream err;
        const int code = RunCli(arguments, network, out, err);
        out.close();
        _exit(code);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    Round round;
    round.systemSeconds = Seconds(usage.ru_stime);
    round.cpuSeconds = Seconds(usage.ru_utime) + round.systemSeconds;
    round.pageFaults = usage.ru_minflt;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        std::ifstream in(outPath);
        std::stringstream text;
        text << in.rdbuf();
        round.listed = Listed(format, text.str());
    }
    return round;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const std::string format = argc > 1 ? argv[1] : "--json";
    DevsimProcess devsim({"--devices", QString::number(kDevices), "--quiet"});
    if (!devsim.isReady()) {
        std::fprintf(stderr, "devsim: %s\n", devsim.errorText().toLocal8Bit().constData());
        return 1;
    }
    CliNetwork network;
    network.localUdpPort = 0;
    network.udpDestination = "127.0.0.1";
    network.remoteUdpPort = devsim.udpPort();
    std::vector<std::string> arguments{"list", "--timeout", kCollectSeconds};
    if (format != "--table")
        arguments.push_back(format);
    const std::string outPath = "/tmp/lanvista-bench-cli-" + std::to_string(getpid());

    std::printf("%-6s %8s %12s %12s %12s %14s\n", "round", "listed", "cpu ms", "of it kernel", "page faults",
                "replies/s");
    std::vector<double> rates;
    for (int i = 1; i <= kRounds; ++i) {
        const Round round = RunOnce(arguments, network, format, outPath);
        const double rate = static_cast<double>(round.listed) / round.cpuSeconds;
        rates.push_back(rate);
        std::printf("%-6d %8zu %12.1f %12.1f %12ld %14.0f%s\n", i, round.listed, round.cpuSeconds * 1e3,
                    round.systemSeconds * 1e3, round.pageFaults, rate,
                    round.listed == static_cast<std::size_t>(kDevices) ? "" : "  (not every device listed)");
    }
    std::remove(outPath.c_str());
    std::sort(rates.begin(), rates.end());
    std::printf("median %.0f replies/s of the tool's CPU time with %s, best %.0f (goal 200000, all %d listed)\n",
                rates[rates.size() / 2], format.c_str(), rates.back(), kDevices);
    return 0;
}
