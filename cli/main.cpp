// lanvista-cli: the devices' own ports and the limited broadcast, the process's streams.
#include "cli/Cli.h"
#include "cli/ErrorText.h"
#include "cli/ExitCode.h"
#include "platform/sockets/ProgramArguments.h"
#include "platform/sockets/Terminal.h"
#include "platform/sockets/Utf8Console.h"
#include "platform/sockets/WinSock.h"

#include <iostream>

int main(int argc, char** argv)
{
    // Before the first line is written: a message may hold a path or a system's words in UTF-8.
    const lanvista::sockets::Utf8Console console;
    // Winsock serves no call before this; elsewhere the layer only grants the version.
    WSADATA startup{};
    if (const int error = WSAStartup(MAKEWORD(2, 2), &startup)) {
        std::cerr << "lanvista-cli: the system's sockets cannot be started: " << SocketErrorText(error) << '\n';
        return kExitNetwork;
    }
    const std::vector<std::string> arguments = lanvista::sockets::ProgramArguments(argc, argv);
    const int status = RunCli(arguments, CliNetwork{}, std::cout, std::cerr,
                              lanvista::sockets::StandardErrorIsTerminal());
    WSACleanup();
    return status;
}
