#pragma once

#include "cli/Cli.h"
#include "platform/sockets/NetworkAdapter.h"

#include <span>
#include <string>
#include <vector>

/// How a request went out: the adapters it left by (none for a datagram routed as usual),
/// or what went wrong when it went out nowhere.
struct RequestSent {
    std::vector<NetworkAdapter> adapters;
    std::string error;  // empty once it went out on at least one adapter
};

/// Sends one request datagram on the tool's socket to the network's destination and port. To
/// the limited broadcast it goes once through each broadcast adapter, or only through those
/// whose index is in `interfaces` when that is not empty; and, when `heard` is not empty, only
/// through those by which the device's replies came back (a save: written once where two
/// adapters reach one segment).
RequestSent SendRequest(SOCKET socket, const std::string& datagram, const CliNetwork& network,
                        const std::vector<int>& interfaces, std::span<const DatagramArrival> heard = {});
