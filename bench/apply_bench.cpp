// lanvista-cli apply over a fleet: devsim plays 1,000 devices on 127.0.0.1, list --csv's
// output with every device's port changed is the plan, and apply's wall time is measured
// from reading the plan to the verified report (the search with its --timeout 2 s, 1,000
// saves each waiting for its reply, the checking search), then once more with nothing to do.
// Goal: at most 5 s, every device changed, then every one unchanged.
// A program, not a test: it prints its figures and exits 0 unless devsim cannot start.
#include "cli/Cli.h"
#include "tests/cli/DevsimNetwork.h"
#include "tests/devsim/DevsimProcess.h"

#include <QCoreApplication>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

constexpr int kDevices = 1000;

std::size_t Count(const std::string& text, const std::string& word)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1))
        ++count;
    return count;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    DevsimProcess devsim({"--devices", QString::number(kDevices), "--first-ip", "10.1.0.1", "--quiet"});
    if (!devsim.isReady())
        return std::fprintf(stderr, "devsim: %s\n", devsim.errorText().toLocal8Bit().constData()), 1;
    const CliNetwork network = DevsimNetwork(devsim);

    std::ostringstream listed, noise;
    RunCli({"list", "--csv", "--timeout", "2"}, network, listed, noise);
    std::string plan = listed.str();
    for (std::size_t at = plan.find(",9100,"); at != std::string::npos; at = plan.find(",9100,", at))
        plan.replace(at, 6, ",4001,");
    const std::string path = "/tmp/lanvista-bench-plan-" + std::to_string(::getpid()) + ".csv";
    std::ofstream(path) << plan;

    std::printf("%-8s %8s %10s %10s %8s %10s\n", "run", "planned", "changed", "unchanged", "exit", "seconds");
    for (const char* run : {"first", "second"}) {
        std::ostringstream out, err;
        const auto start = std::chrono::steady_clock::now();
        const int code = RunCli({"apply", path, "--timeout", "2"}, network, out, err);
        if (code != 0)
            std::fprintf(stderr, "%s", err.str().c_str());
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("%-8s %8d %10zu %10zu %8d %10.2f\n", run, kDevices, Count(out.str(), "  changed"),
                    Count(out.str(), "  unchanged"), code, seconds);
    }
    std::remove(path.c_str());
    std::printf("goal: the first run changes all %d within 5 s, the second finds all unchanged\n", kDevices);
    return 0;
}
