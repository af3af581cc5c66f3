#pragma once
// A plain UDP socket on 127.0.0.1 with a port of its own, for talking to devsim the way
// the program does, without Qt in between.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class LoopbackUdp {
public:
    struct Datagram {
        std::string data;
        std::uint16_t fromPort = 0;
    };

    LoopbackUdp();
    ~LoopbackUdp();
    LoopbackUdp(const LoopbackUdp&) = delete;
    LoopbackUdp& operator=(const LoopbackUdp&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    bool sendTo(std::uint16_t port, const std::string& datagram);
    // The next datagram, or nothing when none comes within timeoutMs.
    std::optional<Datagram> receive(int timeoutMs);
    // Up to count datagrams; stops early when timeoutMs has passed in all.
    std::vector<Datagram> receiveMany(std::size_t count, int timeoutMs);

private:
    int m_fd = -1;
};
