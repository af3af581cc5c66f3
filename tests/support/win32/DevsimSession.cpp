#include "tests/support/DevsimSession.h"

#include "platform/sockets/WinSock.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr DWORD kReadyTimeoutMs = 10000;

bool Given(const std::vector<std::string>& arguments, const char* option)
{
    return std::find(arguments.begin(), arguments.end(), option) != arguments.end();
}

} // namespace

// The connection to the broker's session: devsim runs while it is open.
struct DevsimSession::Running {
    SOCKET socket = INVALID_SOCKET;
    ~Running()
    {
        if (socket != INVALID_SOCKET)
            closesocket(socket);
    }
};

DevsimSession::DevsimSession(std::vector<std::string> arguments)
{
    const char* broker = std::getenv("LANVISTA_DEVSIM_BROKER");
    if (broker == nullptr || std::atoi(broker) <= 0 || std::atoi(broker) > 65535) {
        m_error = "LANVISTA_DEVSIM_BROKER names no port: run the test through scripts/devsim-broker.sh";
        return;
    }
    for (const char* option : {"--udp-port", "--tcp-port"})
        if (!Given(arguments, option))
            arguments.insert(arguments.end(), {option, "0"});
    std::string request;
    for (const std::string& argument : arguments)
        request += (request.empty() ? "" : " ") + argument;
    request += '\n';

    m_running = std::make_unique<Running>();
    SOCKET& s = m_running->socket;
    s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<u_short>(std::atoi(broker)));
    const DWORD timeout = kReadyTimeoutMs;
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
    if (s == INVALID_SOCKET || connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        m_error = "cannot reach the devsim broker on port " + std::string(broker) + ": " + std::to_string(WSAGetLastError());
        return;
    }
    if (send(s, request.data(), static_cast<int>(request.size()), 0) != static_cast<int>(request.size())) {
        m_error = "cannot ask the devsim broker: " + std::to_string(WSAGetLastError());
        return;
    }
    std::string line;
    char ch = 0;
    while (recv(s, &ch, 1, 0) == 1 && ch != '\n')
        line += ch;
    if (ch != '\n') {
        m_error = "no ready line from devsim within " + std::to_string(kReadyTimeoutMs) + " ms (see its stderr)";
        return;
    }
    unsigned udp = 0;
    unsigned tcp = 0;
    int parsed = 0;
    if (std::sscanf(line.c_str(), "devsim ready udp=%u tcp=%u%n", &udp, &tcp, &parsed) != 2 ||
        static_cast<std::size_t>(parsed) != line.size() || udp > 65535 || tcp > 65535) {
        m_error = "unexpected first line from devsim: " + line;
        return;
    }
    m_udpPort = static_cast<std::uint16_t>(udp);
    m_tcpPort = static_cast<std::uint16_t>(tcp);
    m_ready = true;
}

DevsimSession::~DevsimSession() = default;
