#pragma once
// Runs lanvista-cli's commands in the test's process, with loopback network settings, and
// keeps what they print apart.

#include "cli/Cli.h"

#include <string>
#include <vector>

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

CliRun RunCliCapturing(const std::vector<std::string>& arguments, const CliNetwork& network,
                       bool errIsTerminal = false);

/// A free local port for the tool, and a device's UDP and TCP ports on 127.0.0.1 as the
/// destination.
CliNetwork LoopbackNetwork(unsigned udpPort, unsigned tcpPort = 0);
