#pragma once
// The tool's UDP socket on the devices' port: bound like the dialog's endpoint (no address
// reuse, so a port already held is reported, not shared), broadcast on, and told on which
// adapter each datagram came in.

#include "platform/sockets/WinSock.h"

#include <chrono>
#include <memory>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

/// One received datagram; data stays valid until the next Receive. A datagram longer than
/// 2048 bytes is cut there: nothing past a reply's 128th byte is read.
struct LinkDatagram {
    const char* data = nullptr;
    std::size_t size = 0;
    std::uint32_t from = 0;       // sender, first octet in the most significant byte
    std::uint16_t fromPort = 0;
    std::uint32_t destination = 0;  // the address it was sent to; 0 when the system did not say
    int interfaceIndex = 0;       // 0 when the system did not say
};

class UdpLink {
public:
    UdpLink();
    ~UdpLink();
    UdpLink(const UdpLink&) = delete;
    UdpLink& operator=(const UdpLink&) = delete;

    /// Binds the port on every local address with broadcast on; 0, or the socket layer's
    /// error number of the failed call (WSAEADDRINUSE when another program holds the port).
    int Open(unsigned localPort);
    SOCKET Socket() const { return m_socket; }

    /// The next datagram that arrives before deadline; std::nullopt when none does.
    std::optional<LinkDatagram> Receive(std::chrono::steady_clock::time_point deadline);
    /// Throws away what has arrived so far, so that a new request's answers are not mixed
    /// with late answers to the last one.
    void Drain();

    /// The adapter's name ("eth0"), looked up once per index; empty when unknown.
    const std::string& InterfaceName(int index);
    /// The index of an adapter named by its system name ("eth0") or by the label of one of
    /// its addresses ("eth0:1"); 0 when there is none.
    static int InterfaceIndex(const std::string& name);

private:
    struct Batch;

    std::optional<LinkDatagram> ReceiveNow();
    void GatherBurst(std::chrono::steady_clock::time_point deadline);

    SOCKET m_socket = INVALID_SOCKET;
    bool m_gatherBursts = false;
    // A burst is read many datagrams to a system call.
    std::unique_ptr<Batch> m_batch;
    std::unordered_map<int, std::string> m_names;
};
