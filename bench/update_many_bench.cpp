// lanvista-cli update --all over a fleet that devsim plays on 127.0.x.x: wall time from the
// first search to the confirmed report with 1, 4 and 16 downloads at once, next to the search
// alone (a --dry-run on the same fleet). Two fleets: 40 devices taking a 4 MiB image as fast as
// loopback carries it, and 16 slow devices (devsim --slow-reader, about 50 KB/s each, as a
// device writing its flash) taking 64 KiB, where downloads at once pay off. Then a rerun on the
// updated fleet, which skips every device.
// A program, not a test: it prints its figures and exits 0 unless devsim cannot start.
#include "cli/Cli.h"
#include "tests/cli/DevsimNetwork.h"
#include "tests/devsim/DevsimProcess.h"

#include <QCoreApplication>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

struct Fleet {
    const char* name;
    int devices;
    std::size_t imageBytes;
    QStringList faults;
};

struct Run {
    int code = 0;
    double seconds = 0;
    std::size_t updated = 0;
    std::size_t skipped = 0;
};

std::size_t Count(const std::string& text, const std::string& word)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1))
        ++count;
    return count;
}

Run UpdateAll(const CliNetwork& network, const std::string& image, const std::string& parallel, bool dryRun = false)
{
    std::vector<std::string> arguments{"update", "--all", image, "--parallel", parallel, "--timeout", "30"};
    if (dryRun)
        arguments.push_back("--dry-run");
    std::ostringstream out, err;
    const auto start = std::chrono::steady_clock::now();
    Run run;
    run.code = RunCli(arguments, network, out, err);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (run.code != 0)
        std::fprintf(stderr, "%s", err.str().c_str());
    run.updated = Count(out.str(), "  updated  ");
    run.skipped = Count(out.str(), "  skipped  ");
    return run;
}

std::string WriteImage(const std::string& folder, std::size_t bytes)
{
    const std::string path = folder + "/" + std::to_string(bytes) + "/Brimnet_v3.08.bin";
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream file(path, std::ios::binary);
    for (std::size_t i = 0; i < bytes; ++i)
        file.put(static_cast<char>(i * 131 + i / 4096));
    return path;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const std::string folder = "/tmp/lanvista-bench-update-" + std::to_string(::getpid());
    const Fleet fleets[] = {{"fast", 40, 4 << 20, {}}, {"slow", 16, 64 << 10, {"--slow-reader"}}};

    std::printf("%-6s %8s %9s %8s %8s %8s %6s %9s %9s\n", "fleet", "devices", "image", "parallel", "updated",
                "skipped", "exit", "search_s", "total_s");
    for (const Fleet& fleet : fleets) {
        const std::string image = WriteImage(folder, fleet.imageBytes);
        for (const char* parallel : {"1", "4", "16"}) {
            // A fresh fleet at 3.07 for each figure; a device runs 3.08 once it took the image.
            QStringList options{"--devices", QString::number(fleet.devices), "--first-ip", "127.0.1.1",
                                "--version-after-update", "3.08", "--quiet"};
            DevsimProcess devsim(options + fleet.faults);
            if (!devsim.isReady())
                return std::fprintf(stderr, "devsim: %s\n", devsim.errorText().toLocal8Bit().constData()), 1;
            const CliNetwork network = DevsimNetwork(devsim);
            const Run search = UpdateAll(network, image, parallel, true);
            const Run first = UpdateAll(network, image, parallel);
            std::printf("%-6s %8d %8zuK %8s %8zu %8zu %6d %9.2f %9.2f\n", fleet.name, fleet.devices,
                        fleet.imageBytes >> 10, parallel, first.updated, first.skipped, first.code, search.seconds,
                        first.seconds);
            if (std::string(parallel) == "16") {
                const Run again = UpdateAll(network, image, parallel);
                std::printf("%-6s %8d %8zuK %8s %8zu %8zu %6d %9s %9.2f\n", "rerun", fleet.devices,
                            fleet.imageBytes >> 10, parallel, again.updated, again.skipped, again.code, "-",
                            again.seconds);
            }
        }
    }
    std::filesystem::remove_all(folder);
    return 0;
}
