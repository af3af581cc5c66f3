#pragma once
// The three commands, each run to its exit code; results to out, messages to err.

#include "cli/Cli.h"
#include "cli/CommandLine.h"

#include <ostream>

int RunList(const ListCommand& command, const CliNetwork& network, std::ostream& out, std::ostream& err);
int RunSet(const SetCommand& command, const CliNetwork& network, std::ostream& err);
/// showProgress: draw a progress bar on err while the image is sent.
int RunUpdate(const UpdateCommand& command, const CliNetwork& network, bool showProgress, std::ostream& err);
