#pragma once

// Helpers shared by the socket tests: a raw POSIX peer on loopback, a CAsyncSocket whose
// handlers record and call back, and a fixture that fails on notifier warnings.

#include "SocketCallsTestSupport.h"

#include "platform/sockets/CAsyncSocket.h"

#include <QTimer>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace sockettest {

using socketcallstest::Loopback;

inline std::uint16_t PortOf(int fd)
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

inline void SetNonBlocking(int fd)
{
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
}

/// A plain UDP socket on 127.0.0.1 with an ephemeral port, outside the layer.
struct RawUdp {
    int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    std::uint16_t port = 0;
    RawUdp()
    {
        sockaddr_in a = Loopback(0);
        ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
        port = PortOf(fd);
    }
    ~RawUdp() { ::close(fd); }
    RawUdp(const RawUdp&) = delete;
    RawUdp& operator=(const RawUdp&) = delete;

    ssize_t SendTo(UINT toPort, const std::string& data) const
    {
        sockaddr_in a = Loopback(static_cast<std::uint16_t>(toPort));
        return ::sendto(fd, data.data(), data.size(), 0, reinterpret_cast<sockaddr*>(&a), sizeof a);
    }
    /// Waits (event loop running) up to `ms` for one datagram; empty optional-like: ok=false.
    bool Receive(std::string& data, std::uint16_t* fromPort = nullptr, int ms = 5000) const
    {
        char buf[70000];
        sockaddr_in from{};
        socklen_t len = sizeof from;
        ssize_t n = -1;
        const bool got = QTest::qWaitFor(
            [&] {
                n = ::recvfrom(fd, buf, sizeof buf, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&from), &len);
                return n >= 0;
            },
            ms);
        if (!got)
            return false;
        data.assign(buf, static_cast<size_t>(n));
        if (fromPort)
            *fromPort = ntohs(from.sin_port);
        return true;
    }
};

/// A plain TCP listener on 127.0.0.1 with an ephemeral port.
struct RawListener {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    std::uint16_t port = 0;
    RawListener()
    {
        sockaddr_in a = Loopback(0);
        ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(fd, 8);
        port = PortOf(fd);
    }
    ~RawListener() { ::close(fd); }
    RawListener(const RawListener&) = delete;
    RawListener& operator=(const RawListener&) = delete;
    /// Accepts one pending connection (non-blocking result), -1 when none.
    int Accept() const { return ::accept4(fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC); }
};

/// A port on 127.0.0.1 where nobody listens (bound once, then released).
inline std::uint16_t RefusedPort()
{
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a = Loopback(0);
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    const std::uint16_t port = PortOf(fd);
    ::close(fd);
    return port;
}

/// Closes a TCP descriptor with a reset instead of an orderly close.
inline void ResetClose(int fd)
{
    linger l{1, 0};
    setsockopt(fd, SOL_SOCKET, SO_LINGER, &l, sizeof l);
    ::close(fd);
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
    explicit SlowReader(int fd, size_t bytesPerTick = 32 * 1024) : fd_(fd), perTick_(bytesPerTick)
    {
        int small = 16 * 1024;
        setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
    }
    ~SlowReader()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    void Start() { timer_.start(1); }
    void Stop() { timer_.stop(); }

    std::string received;
    int ticks = 0;
    std::function<void()> onTick;

private:
    void Tick()
    {
        ++ticks;
        std::vector<char> buf(perTick_);
        const ssize_t n = ::recv(fd_, buf.data(), buf.size(), MSG_DONTWAIT);
        if (n > 0)
            received.append(buf.data(), static_cast<size_t>(n));
        if (onTick) {
            auto f = onTick;
            f();
        }
    }

    int fd_;
    size_t perTick_;
    QTimer timer_;
};


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

}  // namespace sockettest
