#pragma once
// lanvista-devsim for a test, on either system: started with the options given (each one
// word) plus --udp-port 0 and --tcp-port 0 unless given, ready once it has said its ports, and
// stopped when the session ends. On Linux the test starts it itself; under Wine, which cannot
// start a Linux program, scripts/devsim-broker.sh starts it on the Linux side over loopback.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class DevsimSession {
public:
    explicit DevsimSession(std::vector<std::string> arguments = {});
    ~DevsimSession();
    DevsimSession(const DevsimSession&) = delete;
    DevsimSession& operator=(const DevsimSession&) = delete;

    bool isReady() const { return m_ready; }
    // Why devsim is not ready; empty when it is.
    const std::string& errorText() const { return m_error; }
    std::uint16_t udpPort() const { return m_udpPort; }
    // 0 when devsim runs without a download port.
    std::uint16_t tcpPort() const { return m_tcpPort; }

    struct Running;

private:
    std::unique_ptr<Running> m_running;
    bool m_ready = false;
    std::string m_error;
    std::uint16_t m_udpPort = 0;
    std::uint16_t m_tcpPort = 0;
};
