#include "tests/cli/DevsimNetwork.h"

#include "tests/devsim/DevsimProcess.h"

CliNetwork DevsimNetwork(const DevsimProcess& devsim)
{
    return LoopbackNetwork(devsim.udpPort(), devsim.tcpPort());
}
