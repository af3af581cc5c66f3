#pragma once
// The download's TCP connection, with a deadline on every wait: a device that stops
// answering ends the download with a message instead of hanging the tool.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <sys/types.h>

class TcpConnection {
public:
    using Deadline = std::chrono::steady_clock::time_point;

    TcpConnection() = default;
    ~TcpConnection();
    TcpConnection(const TcpConnection&) = delete;
    TcpConnection& operator=(const TcpConnection&) = delete;

    /// 0 once connected; otherwise the errno (ETIMEDOUT when the deadline passed first).
    int Connect(std::uint32_t address, unsigned port, Deadline deadline);
    /// Sends every byte; each wait for room may last stepSeconds. progress gets the count
    /// sent so far after each piece. 0, or the errno (ETIMEDOUT for a wait that ran out).
    int SendAll(const unsigned char* data, std::size_t size, double stepSeconds,
                const std::function<void(std::size_t)>& progress);
    /// Bytes received (0: the device closed its side), or -1 with errno set (ETIMEDOUT
    /// when nothing came before the deadline).
    ssize_t Receive(char* buffer, std::size_t size, Deadline deadline);

private:
    // True when the socket is ready for events before the deadline.
    bool WaitFor(short events, Deadline deadline) const;

    int m_fd = -1;
};
