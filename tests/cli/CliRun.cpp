#include "tests/cli/CliRun.h"

#include <sstream>

CliRun RunCliCapturing(const std::vector<std::string>& arguments, const CliNetwork& network, bool errIsTerminal)
{
    std::ostringstream out;
    std::ostringstream err;
    CliRun run;
    run.exitCode = RunCli(arguments, network, out, err, errIsTerminal);
    run.out = out.str();
    run.err = err.str();
    return run;
}

CliNetwork LoopbackNetwork(unsigned udpPort, unsigned tcpPort)
{
    CliNetwork network;
    network.localUdpPort = 0;
    network.udpDestination = "127.0.0.1";
    network.remoteUdpPort = udpPort;
    network.downloadPort = tcpPort;
    return network;
}
