#include "FaultyDevice.h"

#include "link/Crc.h"
#include "update/DownloadHeader.h"
#include "update/StatusFraming.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <random>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// No step of a fault takes longer than this; a test that gets here has failed already.
constexpr auto kStepLimit = std::chrono::seconds(60);
constexpr int kPollMs = 10;
// Taken before stalling, so that the stall falls in the middle of the image.
constexpr std::size_t kBytesBeforeStall = 1024 * 1024;

bool Readable(int fd, int timeoutMs)
{
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, timeoutMs) > 0;
}

int QueuedInput(int fd)
{
    int queued = 0;
    ioctl(fd, FIONREAD, &queued);
    return queued;
}

void SendStatus(int fd, unsigned char code, std::uint32_t seed)
{
    const auto message = BuildStatusMessage(code, seed);
    send(fd, message.data(), message.size(), MSG_NOSIGNAL);
}

}  // namespace

FaultyDevice::FaultyDevice(Fault fault) : m_fault(fault)
{
    m_listenFd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (bind(m_listenFd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && listen(m_listenFd, 1) == 0 &&
        getsockname(m_listenFd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { Run(); });
}

FaultyDevice::~FaultyDevice()
{
    m_stop = true;
    m_thread.join();
    close(m_listenFd);
}

void FaultyDevice::Run()
{
    const auto deadline = Clock::now() + kStepLimit;
    while (!m_stop && Clock::now() < deadline) {
        if (!Readable(m_listenFd, kPollMs))
            continue;
        const int fd = accept(m_listenFd, nullptr, nullptr);
        if (fd < 0)
            break;
        Play(fd);
        break;
    }
    m_finished = true;
}

void FaultyDevice::Play(int fd)
{
    unsigned char header[kDownloadHeaderSize];
    const auto fields = ReadExactly(fd, header, sizeof header) ? ReadDownloadHeader(header, sizeof header)
                                                                 : std::nullopt;
    if (!fields) {
        close(fd);
        return;
    }

    switch (m_fault) {
    case Fault::StallThenResume: {
        SendStatus(fd, kStatusImageRequest, 1);
        const bool intact = ReadImage(fd, fields->imageLength, fields->imageCrc);
        m_imageIntact = intact;
        SendStatus(fd, intact ? kStatusSuccess : kStatusFailure, 2);
        // The program closes once it has the verdict.
        DrainUntilClosed(fd);
        return;
    }
    case Fault::StallThenReset: {
        SendStatus(fd, kStatusImageRequest, 3);
        std::vector<char> image(kBytesBeforeStall);
        if (ReadExactly(fd, image.data(), image.size()))
            m_senderStuck = WaitUntilSenderStuck(fd);
        const linger abortive{1, 0};
        setsockopt(fd, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
        close(fd);
        return;
    }
    case Fault::GarbageStatus: {
        std::mt19937 random(4);
        std::vector<unsigned char> garbage(kGarbageBytes);
        for (unsigned char& byte : garbage)
            byte = static_cast<unsigned char>(1 + random() % 255);
        // Never a status message's first byte, so the garbage cannot frame one.
        garbage[0] = 0x7F;
        SendAll(fd, garbage.data(), garbage.size());
        SendStatus(fd, kStatusSuccess, 5);
        shutdown(fd, SHUT_WR);
        DrainUntilClosed(fd);
        return;
    }
    case Fault::RepeatedImageRequests: {
        const auto deadline = Clock::now() + kStepLimit;
        while (m_requestsSent < kImageRequests && !m_stop && Clock::now() < deadline) {
            if (m_requestsSent >= m_permitted) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                continue;
            }
            SendStatus(fd, kStatusImageRequest, static_cast<std::uint32_t>(m_requestsSent));
            ++m_requestsSent;
        }
        shutdown(fd, SHUT_WR);
        DrainUntilClosed(fd);
        return;
    }
    }
}

bool FaultyDevice::Permit()
{
    int permitted = m_permitted;
    while (permitted < kImageRequests)
        if (m_permitted.compare_exchange_weak(permitted, permitted + 1))
            return true;
    return false;
}

bool FaultyDevice::ReadExactly(int fd, void* buffer, std::size_t count)
{
    auto* bytes = static_cast<char*>(buffer);
    const auto deadline = Clock::now() + kStepLimit;
    std::size_t got = 0;
    while (got < count && !m_stop && Clock::now() < deadline) {
        if (!Readable(fd, kPollMs))
            continue;
        const ssize_t n = recv(fd, bytes + got, count - got, 0);
        if (n <= 0)
            return false;
        got += static_cast<std::size_t>(n);
    }
    return got == count;
}

void FaultyDevice::DrainUntilClosed(int fd)
{
    const auto deadline = Clock::now() + kStepLimit;
    char drain[4096];
    while (!m_stop && Clock::now() < deadline) {
        if (Readable(fd, kPollMs) && recv(fd, drain, sizeof drain, 0) <= 0)
            break;
    }
    close(fd);
}

bool FaultyDevice::SendAll(int fd, const void* data, std::size_t count)
{
    const auto* bytes = static_cast<const char*>(data);
    const auto deadline = Clock::now() + kStepLimit;
    std::size_t sent = 0;
    while (sent < count && !m_stop && Clock::now() < deadline) {
        pollfd p{fd, POLLOUT, 0};
        if (poll(&p, 1, kPollMs) <= 0)
            continue;
        const ssize_t n = send(fd, bytes + sent, count - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            continue;
        if (n <= 0)
            return false;
        sent += static_cast<std::size_t>(n);
    }
    return sent == count;
}

// Stops reading and waits until the bytes waiting for it stop growing: the program's
// send can then go no further and waits for the device.
bool FaultyDevice::WaitUntilSenderStuck(int fd)
{
    const auto deadline = Clock::now() + kStepLimit;
    int previous = -1;
    int steady = 0;
    while (!m_stop && Clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs * 5));
        const int queued = QueuedInput(fd);
        steady = queued == previous ? steady + 1 : 0;
        previous = queued;
        if (steady >= 4)
            return true;
    }
    return false;
}

bool FaultyDevice::ReadImage(int fd, std::uint32_t length, std::uint32_t crc)
{
    std::vector<unsigned char> image(length);
    const std::size_t first = std::min<std::size_t>(kBytesBeforeStall, length);
    if (!ReadExactly(fd, image.data(), first))
        return false;
    m_senderStuck = WaitUntilSenderStuck(fd);
    if (!ReadExactly(fd, image.data() + first, length - first))
        return false;
    return CalcCrc(image.data(), image.size()) == crc;
}
