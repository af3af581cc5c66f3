#pragma once

// Helpers shared by the socket tests on either system: a raw peer on loopback made with the
// system's own calls, outside the layer; a CAsyncSocket whose handlers record and call back;
// and a fixture that fails on Qt's notifier warnings where the layer runs on Qt.

#include "SocketCallsTestSupport.h"
#include "SocketTestLoop.h"

#include "platform/sockets/CAsyncSocket.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#ifndef _WIN32
#include <QtTest/QTest>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace sockettest {

using socketcallstest::Loopback;

/// A descriptor of the system's own, outside the layer.
using RawSocket = SOCKET;

inline std::uint16_t PortOf(RawSocket fd)
{
    sockaddr_in a{};
    socklen_t len = sizeof a;
    getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    return ntohs(a.sin_port);
}

inline UINT PortOf(CAsyncSocket& socket)
{
    std::string address;
    UINT port = 0;
    socket.GetSockName(address, port);
    return port;
}

#ifndef _WIN32
inline void SetNonBlocking(int fd)
{
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
}
#endif

inline RawSocket RawOpen(int type)
{
#ifdef _WIN32
    const RawSocket fd = ::socket(AF_INET, type, 0);
    u_long on = 1;
    ioctlsocket(fd, FIONBIO, &on);  // Windows knows no per-call MSG_DONTWAIT
    return fd;
#else
    return ::socket(AF_INET, type | SOCK_CLOEXEC, 0);
#endif
}

inline void RawClose(RawSocket fd)
{
#ifdef _WIN32
    ::closesocket(fd);
#else
    ::close(fd);
#endif
}

/// Sends what it can at once; never raises SIGPIPE.
inline int RawSend(RawSocket fd, const std::string& data)
{
#ifdef _WIN32
    return ::send(fd, data.data(), static_cast<int>(data.size()), 0);
#else
    return static_cast<int>(::send(fd, data.data(), data.size(), MSG_NOSIGNAL));
#endif
}

/// Receives what is there now; negative when nothing is.
inline int RawReceiveNow(RawSocket fd, char* buffer, int size, sockaddr_in* from = nullptr)
{
    socklen_t len = sizeof(sockaddr_in);
#ifdef _WIN32
    return ::recvfrom(fd, buffer, size, 0, reinterpret_cast<sockaddr*>(from), from ? &len : nullptr);
#else
    return static_cast<int>(
        ::recvfrom(fd, buffer, static_cast<size_t>(size), MSG_DONTWAIT, reinterpret_cast<sockaddr*>(from), from ? &len : nullptr));
#endif
}

inline void RawShutDownSend(RawSocket fd)
{
#ifdef _WIN32
    ::shutdown(fd, SD_SEND);
#else
    ::shutdown(fd, SHUT_WR);
#endif
}

inline void RawReceiveBuffer(RawSocket fd, int size)
{
    setsockopt(fd, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&size), sizeof size);
}

/// Waits, without running the event loop, until `fd` has something to read.
inline bool RawWaitReadable(RawSocket fd, int ms = 5000)
{
    return socketcallstest::WaitReadable(fd, ms);
}

/// A plain UDP socket on 127.0.0.1 with an ephemeral port, outside the layer.
struct RawUdp {
    RawSocket fd = RawOpen(SOCK_DGRAM);
    std::uint16_t port = 0;
    RawUdp()
    {
        sockaddr_in a = Loopback(0);
        ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
        port = PortOf(fd);
    }
    ~RawUdp() { RawClose(fd); }
    RawUdp(const RawUdp&) = delete;
    RawUdp& operator=(const RawUdp&) = delete;

    int SendTo(UINT toPort, const std::string& data) const
    {
        sockaddr_in a = Loopback(static_cast<std::uint16_t>(toPort));
        return static_cast<int>(::sendto(fd, data.data(), static_cast<int>(data.size()), 0,
                                         reinterpret_cast<sockaddr*>(&a), sizeof a));
    }
    /// Waits (event loop running) up to `ms` for one datagram; false when none came.
    bool Receive(std::string& data, std::uint16_t* fromPort = nullptr, int ms = 5000) const
    {
        std::vector<char> buf(70000);
        sockaddr_in from{};
        int n = -1;
        if (!WaitFor([&] { return (n = RawReceiveNow(fd, buf.data(), static_cast<int>(buf.size()), &from)) >= 0; }, ms))
            return false;
        data.assign(buf.data(), static_cast<size_t>(n));
        if (fromPort)
            *fromPort = ntohs(from.sin_port);
        return true;
    }
};

/// A plain TCP listener on 127.0.0.1 with an ephemeral port.
struct RawListener {
    RawSocket fd = RawOpen(SOCK_STREAM);
    std::uint16_t port = 0;
    RawListener()
    {
        sockaddr_in a = Loopback(0);
        ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(fd, 8);
        port = PortOf(fd);
    }
    ~RawListener() { RawClose(fd); }
    RawListener(const RawListener&) = delete;
    RawListener& operator=(const RawListener&) = delete;
    /// Accepts one pending connection (non-blocking result), INVALID_SOCKET when none.
    RawSocket Accept() const
    {
#ifdef _WIN32
        return ::accept(fd, nullptr, nullptr);
#else
        return ::accept4(fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
#endif
    }
};

/// A port on 127.0.0.1 where nobody listens (bound once, then released).
inline std::uint16_t RefusedPort()
{
    const RawSocket fd = RawOpen(SOCK_STREAM);
    sockaddr_in a = Loopback(0);
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    const std::uint16_t port = PortOf(fd);
    RawClose(fd);
    return port;
}

/// Closes a TCP descriptor with a reset instead of an orderly close.
inline void ResetClose(RawSocket fd)
{
    linger l{1, 0};
    setsockopt(fd, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&l), sizeof l);
    RawClose(fd);
}

/// Counts every notification, then calls the matching callback (if set) as its last act,
/// so a callback may delete the socket.
template <class Base>
class Recording : public Base {
public:
    using Callback = std::function<void(int)>;
    Callback onReceive, onSend, onOutOfBand, onAccept, onConnect, onClose;
    int receives = 0, sends = 0, outOfBands = 0, accepts = 0, connects = 0, closes = 0;
    int lastConnectError = -1, lastCloseError = -1;

protected:
    void OnReceive(int e) override { ++receives; Call(onReceive, e); }
    void OnSend(int e) override { ++sends; Call(onSend, e); }
    void OnOutOfBandData(int e) override { ++outOfBands; Call(onOutOfBand, e); }
    void OnAccept(int e) override { ++accepts; Call(onAccept, e); }
    void OnConnect(int e) override
    {
        ++connects;
        lastConnectError = e;
        Call(onConnect, e);
    }
    void OnClose(int e) override
    {
        ++closes;
        lastCloseError = e;
        Call(onClose, e);
    }

private:
    static void Call(const Callback& callback, int e)
    {
        if (!callback)
            return;
        Callback copy = callback;  // the socket, and so `callback`, may be gone during the call
        copy(e);
    }
};

using RecordingSocket = Recording<CAsyncSocket>;

/// Bytes that differ from position to position, to check a transfer end to end.
inline std::string Pattern(size_t size)
{
    std::string data(size, '\0');
    for (size_t i = 0; i < size; ++i)
        data[i] = static_cast<char>((i * 131 + i / 977) & 0xFF);
    return data;
}

/// The far end of a CSocket: a raw accepted descriptor, drained a little on every tick of a
/// timer. The timer runs inside the CSocket's wait, standing in for repainting.
class SlowReader {
public:
    explicit SlowReader(RawSocket fd, size_t bytesPerTick = 32 * 1024)
        : fd_(fd), perTick_(bytesPerTick), timer_([this] { Tick(); })
    {
        RawReceiveBuffer(fd_, 16 * 1024);
    }
    ~SlowReader()
    {
        if (fd_ != INVALID_SOCKET)
            RawClose(fd_);
    }
    SlowReader(const SlowReader&) = delete;
    SlowReader& operator=(const SlowReader&) = delete;
    void Start() { timer_.Start(1); }
    void Stop() { timer_.Stop(); }

    std::string received;
    int ticks = 0;
    std::function<void()> onTick;

private:
    void Tick()
    {
        ++ticks;
        std::vector<char> buf(perTick_);
        const int n = RawReceiveNow(fd_, buf.data(), static_cast<int>(buf.size()));
        if (n > 0)
            received.append(buf.data(), static_cast<size_t>(n));
        if (onTick) {
            auto f = onTick;
            f();
        }
    }

    RawSocket fd_;
    size_t perTick_;
    RepeatingTimer timer_;
};

#ifdef _WIN32
/// Fixture base: notifications come through Winsock's own messages, with nothing to warn.
using SocketTest = ::testing::Test;
#else
/// Fixture base: fails a test in which Qt warned about a socket notifier (a notifier left on
/// a closed descriptor, or two on one descriptor).
class SocketTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Warnings().clear();
        previous_ = qInstallMessageHandler(&SocketTest::Handler);
    }
    void TearDown() override
    {
        qInstallMessageHandler(previous_);
        for (const std::string& w : Warnings())
            ADD_FAILURE() << "Qt warning: " << w;
    }

private:
    static std::vector<std::string>& Warnings()
    {
        static std::vector<std::string> warnings;
        return warnings;
    }
    static void Handler(QtMsgType type, const QMessageLogContext&, const QString& message)
    {
        if (type != QtDebugMsg && type != QtInfoMsg && message.contains(QLatin1String("QSocketNotifier")))
            Warnings().push_back(message.toStdString());
    }
    QtMessageHandler previous_ = nullptr;
};
#endif

}  // namespace sockettest
