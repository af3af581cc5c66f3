#pragma once
// The commands, each run to its exit code; results to out, messages to err.
// interfaces: the indexes of the adapters asked for with --interface (empty: every one).

#include "cli/Cli.h"
#include "cli/CommandLine.h"

#include <ostream>
#include <vector>

int RunList(const ListCommand& command, const std::vector<int>& interfaces, const CliNetwork& network,
            std::ostream& out, std::ostream& err);
int RunSet(const SetCommand& command, const std::vector<int>& interfaces, const CliNetwork& network,
           std::ostream& err);
/// The report goes to out, messages to err.
int RunApply(const ApplyCommand& command, const std::vector<int>& interfaces, const CliNetwork& network,
             std::ostream& out, std::ostream& err);
/// The report goes to out, messages to err. showProgress: draw a progress bar on err while
/// the image is sent into a lone device.
int RunUpdate(const UpdateCommand& command, const std::vector<int>& interfaces, const CliNetwork& network,
              bool showProgress, std::ostream& out, std::ostream& err);
