#pragma once
// A plain TCP client on 127.0.0.1 that tells an orderly close (FIN) from a reset (RST).

#include <cstddef>
#include <cstdint>
#include <string>

class LoopbackTcp {
public:
    enum class End { Open, Closed, Reset, Failed };

    // Connects at once; connectError() tells how that went.
    explicit LoopbackTcp(std::uint16_t port);
    ~LoopbackTcp();
    LoopbackTcp(const LoopbackTcp&) = delete;
    LoopbackTcp& operator=(const LoopbackTcp&) = delete;

    // errno of the failed connect, 0 when connected.
    int connectError() const { return m_connectError; }
    bool sendAll(const void* data, std::size_t size);
    // The bytes of one receive; empty when the connection ended or timeoutMs passed.
    std::string receiveSome(int timeoutMs);
    // Until count bytes have arrived in all, the connection ends, or timeoutMs passes.
    std::string receive(std::size_t count, int timeoutMs);
    // Until the peer ends the connection or timeoutMs passes.
    std::string receiveToEnd(int timeoutMs);
    // How the peer ended the connection, as seen so far.
    End end() const { return m_end; }

private:
    int m_fd = -1;
    int m_connectError = 0;
    End m_end = End::Open;
};
