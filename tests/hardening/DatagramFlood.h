#pragma once
// Sends a bounded number of datagrams to a UDP port on 127.0.0.1 from a thread of its
// own, as fast as the receiver takes them: it never fills more than half of the
// receiving socket's buffer, so the flood arrives whole instead of being dropped by the
// kernel. Stops after the count or the time limit, whichever comes first.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

// What the kernel holds for a socket right now.
struct ReceiveQueue {
    std::uint32_t queuedBytes = 0;  // memory of the datagrams not read yet
    std::uint32_t bufferBytes = 0;  // the socket's receive buffer
    std::uint32_t drops = 0;        // datagrams dropped for want of room
};
ReceiveQueue QueueOf(int socketFd);

class DatagramFlood {
public:
    // make(i) is datagram i, called on the flood's thread; receiverFd is the receiving
    // socket (watched, never read), port the port it is bound to.
    DatagramFlood(int receiverFd, std::uint16_t port, std::size_t count,
                  std::function<std::string(std::size_t)> make, std::chrono::seconds limit);
    ~DatagramFlood();
    DatagramFlood(const DatagramFlood&) = delete;
    DatagramFlood& operator=(const DatagramFlood&) = delete;

    bool Finished() const { return m_finished; }
    std::size_t Sent() const { return m_sent; }
    // Failed sends (the test fails on any).
    std::size_t SendErrors() const { return m_sendErrors; }

private:
    void Run(int receiverFd, std::uint16_t port, std::size_t count,
             const std::function<std::string(std::size_t)>& make, std::chrono::seconds limit);

    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_finished{false};
    std::atomic<std::size_t> m_sent{0};
    std::atomic<std::size_t> m_sendErrors{0};
    std::thread m_thread;
};
