#pragma once
// Runs lanvista-cli's commands in the test's process, with loopback network settings, and
// keeps what they print apart.

#include "cli/Cli.h"

#include <string>
#include <vector>

class DevsimProcess;

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

CliRun RunCliCapturing(const std::vector<std::string>& arguments, const CliNetwork& network,
                       bool errIsTerminal = false);

/// A free local port for the tool, devsim's UDP port as the destination on 127.0.0.1 and its
/// download port.
CliNetwork DevsimNetwork(const DevsimProcess& devsim);

/// The same towards a device of the test's own on 127.0.0.1 (UDP and TCP ports).
CliNetwork LoopbackNetwork(unsigned udpPort, unsigned tcpPort = 0);
