#pragma once
// lanvista-cli as a function: the executable's main() calls it with the built-in network
// settings; tests and the benchmark call it with loopback ones.

#include "link/NetworkSettings.h"

#include <ostream>
#include <string>
#include <vector>

/// Where the tool's datagrams and downloads go, as for the dialog: the built-in settings
/// send once per adapter; a test gives an ephemeral local port and devsim's address instead.
using CliNetwork = NetworkSettings;

/// Runs one command line (arguments without the program name); JSON, CSV and the table go
/// to out, every message to err. errIsTerminal: err is shown to a person, so update may draw
/// a progress bar there. Returns the exit code (ExitCode.h).
int RunCli(const std::vector<std::string>& arguments, const CliNetwork& network, std::ostream& out,
           std::ostream& err, bool errIsTerminal = false);
