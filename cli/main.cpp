// lanvista-cli: the devices' own ports and the limited broadcast, the process's streams.
#include "cli/Cli.h"

#include <unistd.h>

#include <iostream>

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return RunCli(arguments, CliNetwork{}, std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1);
}
