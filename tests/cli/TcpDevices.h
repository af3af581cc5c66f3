#pragma once
// Devices on a TCP port of 127.0.0.1 for the download tests, made with the socket layer's
// calls so that they serve on either system.

#include "platform/sockets/WinSock.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <thread>

/// A TCP port that takes connections into its backlog and never answers.
class SilentListener {
public:
    SilentListener();
    ~SilentListener();
    SilentListener(const SilentListener&) = delete;
    SilentListener& operator=(const SilentListener&) = delete;

    std::uint16_t port() const { return m_port; }
    bool connectionWaiting() const;

private:
    SOCKET m_socket = INVALID_SOCKET;
    std::uint16_t m_port = 0;
};

/// A device that plays its one connection by the test's script, on a thread of its own.
class ScriptedDevice {
public:
    explicit ScriptedDevice(std::function<void(SOCKET)> script);
    ~ScriptedDevice();
    ScriptedDevice(const ScriptedDevice&) = delete;
    ScriptedDevice& operator=(const ScriptedDevice&) = delete;

    std::uint16_t port() const { return m_port; }

private:
    SOCKET m_socket = INVALID_SOCKET;
    std::uint16_t m_port = 0;
    std::thread m_thread;
};

/// Sends a 32-byte status message with this code; false once the connection is gone.
bool SendStatus(SOCKET connection, unsigned char code);
/// Sends the bytes, waiting for room; false once the connection is gone.
bool SendToTool(SOCKET connection, const void* data, std::size_t size);
/// Reads until count bytes have come or the connection ends.
void Take(SOCKET connection, std::size_t count);
