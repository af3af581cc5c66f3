#pragma once
// A device server of the test's own on 127.0.0.1, answering on a thread of its own the way a
// test needs a device to misbehave, and keeping every datagram it received. Made with the
// socket layer's calls, so that it serves on either system.

#include "platform/sockets/WinSock.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

struct FakeSettings {
    std::string mac12 = "00A0B1C20010";
    std::uint32_t ip = 0x0A000005;       // 10.0.0.5
    std::uint32_t mask = 0xFFFFFF00;
    std::uint32_t gateway = 0x0A000001;
    std::uint16_t port = 9100;
    bool dhcp = false;
    std::string version = "3.07";
};

struct FakeAnswers {
    bool search = true;     // answers searches for all devices and for its MAC
    bool save = true;       // answers save requests for its MAC
    bool applySave = true;  // takes the saved settings
    int ignoredSaves = 0;   // the first save requests it drops, as if lost on the way
    // Sent in place of the search reply built from the settings.
    std::optional<std::string> searchReply;
    // Sent after each search reply, as a second unit with the same MAC would answer.
    std::optional<std::string> twinReply;
    // The address it reports while DHCP is in use, in place of the static one.
    std::optional<std::uint32_t> leaseIp;
};

class FakeDevice {
public:
    explicit FakeDevice(FakeSettings settings = {}, FakeAnswers answers = {});
    ~FakeDevice();
    FakeDevice(const FakeDevice&) = delete;
    FakeDevice& operator=(const FakeDevice&) = delete;

    std::uint16_t port() const { return m_port; }
    std::vector<std::string> received() const;
    int searchesReceived() const;
    int savesReceived() const;
    FakeSettings settings() const;

private:
    void Serve();
    void Answer(const std::string& datagram, const sockaddr_in& from);

    SOCKET m_socket = INVALID_SOCKET;
    std::uint16_t m_port = 0;
    FakeAnswers m_answers;
    mutable std::mutex m_mutex;
    FakeSettings m_settings;
    std::vector<std::string> m_received;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};
