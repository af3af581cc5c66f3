#pragma once
// A device on 127.0.0.1 that misbehaves during a firmware download, played by a thread
// of its own with plain sockets, so that it keeps going while the dialog's blocking
// sends hold the GUI thread. It takes one connection and the download header, then
// plays its fault; every wait it makes has a deadline, and the destructor stops it.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <thread>

class FaultyDevice {
public:
    enum class Fault {
        // Asks for the image, stops reading once the sender is stuck, then reads the
        // rest and answers ACK (NAK when the image arrived damaged).
        StallThenResume,
        // Asks for the image, stops reading once the sender is stuck, then resets.
        StallThenReset,
        // Sends 1 MiB of garbage where the status message belongs, then an ACK that
        // comes too late to be one, then closes.
        GarbageStatus,
        // Sends image requests one at a time, the first at once and each further one
        // when the test permits it, then closes.
        RepeatedImageRequests,
    };

    static constexpr std::size_t kGarbageBytes = 1024 * 1024;
    static constexpr int kImageRequests = 300;

    explicit FaultyDevice(Fault fault);
    ~FaultyDevice();
    FaultyDevice(const FaultyDevice&) = delete;
    FaultyDevice& operator=(const FaultyDevice&) = delete;

    std::uint16_t port() const { return m_port; }
    // The device has played its part and closed the connection.
    bool Finished() const { return m_finished; }
    // The device stopped reading mid-image and saw the program's send come to a halt.
    bool SenderStuck() const { return m_senderStuck; }
    // StallThenResume: the whole announced image arrived with the announced checksum.
    bool ImageIntact() const { return m_imageIntact; }
    // RepeatedImageRequests: lets the next request go; false when none is left.
    bool Permit();
    int Permitted() const { return m_permitted; }
    int RequestsSent() const { return m_requestsSent; }

private:
    void Run();
    void Play(int fd);
    bool ReadExactly(int fd, void* buffer, std::size_t count);
    void DrainUntilClosed(int fd);
    bool SendAll(int fd, const void* data, std::size_t count);
    bool WaitUntilSenderStuck(int fd);
    bool ReadImage(int fd, std::uint32_t length, std::uint32_t crc);

    const Fault m_fault;
    int m_listenFd = -1;
    std::uint16_t m_port = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_finished{false};
    std::atomic<bool> m_senderStuck{false};
    std::atomic<bool> m_imageIntact{false};
    std::atomic<int> m_permitted{1};
    std::atomic<int> m_requestsSent{0};
    std::thread m_thread;
};
