#pragma once

#include "tests/cli/CliRun.h"

class DevsimProcess;

/// A free local port for the tool, devsim's UDP port as the destination on 127.0.0.1 and its
/// download port.
CliNetwork DevsimNetwork(const DevsimProcess& devsim);
