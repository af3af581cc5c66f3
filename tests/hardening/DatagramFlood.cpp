#include "DatagramFlood.h"

#include <arpa/inet.h>
#include <linux/sock_diag.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>

ReceiveQueue QueueOf(int socketFd)
{
    std::array<std::uint32_t, SK_MEMINFO_VARS> info{};
    socklen_t length = sizeof info;
    if (getsockopt(socketFd, SOL_SOCKET, SO_MEMINFO, info.data(), &length) != 0)
        return {};
    return ReceiveQueue{info[SK_MEMINFO_RMEM_ALLOC], info[SK_MEMINFO_RCVBUF], info[SK_MEMINFO_DROPS]};
}

DatagramFlood::DatagramFlood(int receiverFd, std::uint16_t port, std::size_t count,
                             std::function<std::string(std::size_t)> make, std::chrono::seconds limit)
    : m_thread([=, this, make = std::move(make)] { Run(receiverFd, port, count, make, limit); })
{
}

DatagramFlood::~DatagramFlood()
{
    m_stop = true;
    m_thread.join();
}

void DatagramFlood::Run(int receiverFd, std::uint16_t port, std::size_t count,
                        const std::function<std::string(std::size_t)>& make, std::chrono::seconds limit)
{
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const auto deadline = std::chrono::steady_clock::now() + limit;

    for (std::size_t i = 0; i < count && !m_stop && std::chrono::steady_clock::now() < deadline; ++i) {
        const std::string datagram = make(i);
        // A datagram takes about twice its size of the buffer once queued; one too large
        // for half the buffer waits until the queue is empty.
        while (!m_stop && std::chrono::steady_clock::now() < deadline) {
            const ReceiveQueue queue = QueueOf(receiverFd);
            if (queue.queuedBytes == 0 || queue.queuedBytes + 2 * datagram.size() + 4096 <= queue.bufferBytes / 2)
                break;
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
        if (sendto(fd, datagram.data(), datagram.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to) ==
            static_cast<ssize_t>(datagram.size()))
            ++m_sent;
        else
            ++m_sendErrors;
    }
    close(fd);
    m_finished = true;
}
