#pragma once

#include "cli/Cli.h"

#include <string>
#include <vector>

/// Sends one request datagram on the tool's socket to the network's destination and port: to
/// the limited broadcast once through each broadcast adapter, or through the named ones only.
/// Returns an empty text when it went out on at least one adapter, else what went wrong.
std::string SendRequest(int socket, const std::string& datagram, const CliNetwork& network,
                        const std::vector<std::string>& interfaces);
