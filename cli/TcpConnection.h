#pragma once
// The download's TCP connection, with a deadline on every wait: a device that stops
// answering ends the download with a message instead of hanging the tool. Errors are the
// socket layer's numbers (WSAETIMEDOUT for a wait that ran out).

#include "platform/sockets/WinSock.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>

class TcpConnection {
public:
    using Deadline = std::chrono::steady_clock::time_point;

    TcpConnection() = default;
    ~TcpConnection();
    TcpConnection(const TcpConnection&) = delete;
    TcpConnection& operator=(const TcpConnection&) = delete;

    /// 0 once connected; otherwise the error (WSAETIMEDOUT when the deadline passed first).
    int Connect(std::uint32_t address, unsigned port, Deadline deadline);
    /// What SendAll returns when the device spoke before everything was sent.
    static constexpr int kIncoming = -1;

    /// Sends from `sent` on until every byte is out; each wait for room may last until
    /// stepSeconds. progress is called after each piece. 0; kIncoming as soon as the device has
    /// sent something (a refusal may come mid-transfer), `sent` telling how far it got; or
    /// the error (WSAETIMEDOUT for a wait that ran out).
    int SendAll(const unsigned char* data, std::size_t size, std::size_t& sent, double stepSeconds,
                const std::function<void()>& progress);
    /// Bytes handed to the system that the device has not acknowledged yet.
    std::size_t Unacknowledged() const;
    /// Bytes received (0: the device closed its side), or SOCKET_ERROR with the error in
    /// WSAGetLastError() (WSAETIMEDOUT when nothing came before the deadline).
    int Receive(char* buffer, std::size_t size, Deadline deadline);

private:
    SOCKET m_socket = INVALID_SOCKET;
};
