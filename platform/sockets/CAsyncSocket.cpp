#include "platform/sockets/CAsyncSocket.h"

#include "platform/sockets/CAsyncSocketPrivate.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <poll.h>
#include <unistd.h>
#include <vector>

namespace {

// Sockets whose notifications arrived while a hold was active.
int g_holdDepth = 0;
std::vector<QPointer<CAsyncSocketPrivate>>& HeldSockets()
{
    static std::vector<QPointer<CAsyncSocketPrivate>> held;
    return held;
}

// Failure results: each sets the last error right after the failing call.
BOOL FailWithErrno()
{
    WSASetLastError(WsaErrorFromErrno(errno));
    return FALSE;
}

BOOL Fail(int wsaError)
{
    WSASetLastError(wsaError);
    return FALSE;
}

int FailWith(int wsaError)
{
    WSASetLastError(wsaError);
    return SOCKET_ERROR;
}

std::string AddressText(const in_addr& address)
{
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &address, text, sizeof text);
    return text;
}

// Datagrams delivered back to back before the event loop gets its turn again.
constexpr int kDatagramsPerPass = 64;

bool Readable(SOCKET fd)
{
    pollfd probe{fd, POLLIN, 0};
    return ::poll(&probe, 1, 0) > 0 && (probe.revents & POLLIN);
}

// Windows reports a connection that timed out or failed otherwise as aborted.
int CloseErrorFromErrno(int err)
{
    return err == ETIMEDOUT ? WSAECONNABORTED : WsaErrorFromErrno(err);
}

}  // namespace

bool lanvista::sockets::ResolveIPv4(const char* host, UINT port, in_addr_t fallback, sockaddr_in& out)
{
    std::memset(&out, 0, sizeof out);
    out.sin_family = AF_INET;
    out.sin_port = htons(static_cast<std::uint16_t>(port));
    if (!host || !*host) {
        out.sin_addr.s_addr = htonl(fallback);
        return fallback != INADDR_NONE;
    }
    if (inet_pton(AF_INET, host, &out.sin_addr) == 1)
        return true;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    if (getaddrinfo(host, nullptr, &hints, &found) != 0 || !found)
        return false;
    out.sin_addr = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
    freeaddrinfo(found);
    return true;
}

// ---------------------------------------------------------------------------------------
// CAsyncSocketPrivate: notifier bookkeeping

CAsyncSocketPrivate::CAsyncSocketPrivate(CAsyncSocket* owner) : q(owner) {}

CAsyncSocketPrivate::~CAsyncSocketPrivate()
{
    Detach();
}

void CAsyncSocketPrivate::Attach(int socketType, Phase initialPhase)
{
    type = socketType;
    phase = initialPhase;
    events = 0;
    readArmed = writeArmed = oobArmed = readClosed = false;
    for (bool& h : held)
        h = false;
}

void CAsyncSocketPrivate::Detach()
{
    // Notifiers go before the descriptor does: a notifier on a closed descriptor makes the
    // dispatcher complain, and a reused descriptor number must not reach this socket.
    for (QSocketNotifier*& notifier : notifiers_) {
        if (notifier) {
            notifier->setEnabled(false);
            delete notifier;
            notifier = nullptr;
        }
    }
    if (waitNotifier_) {
        waitNotifier_->setEnabled(false);
        waitNotifier_ = nullptr;
    }
    if (waitLoop_) {
        waitLoop_->quit();
        waitLoop_ = nullptr;
    }
    events = 0;
    phase = Phase::Unconnected;
    readArmed = writeArmed = oobArmed = readClosed = false;
    for (bool& h : held)
        h = false;
    ++generation;
}

void CAsyncSocketPrivate::MarkConnected()
{
    phase = Phase::Connected;
    readArmed = true;
    writeArmed = true;  // one FD_WRITE follows a connect, as on Windows
    oobArmed = true;
    Update();
}

void CAsyncSocketPrivate::Update()
{
    const SOCKET fd = q->m_hSocket;
    bool want[ChannelCount] = {};
    if (fd != INVALID_SOCKET && waiting_ == 0) {
        const bool stream = type == SOCK_STREAM;
        if (!stream) {
            want[ReadChannel] = readArmed && (events & FD_READ);
            want[WriteChannel] = writeArmed && (events & FD_WRITE);
        } else {
            switch (phase) {
            case Phase::Listening:
                want[ReadChannel] = readArmed && (events & FD_ACCEPT);
                break;
            case Phase::Connecting:
                // Watched even without FD_CONNECT: the socket must learn it is connected.
                want[WriteChannel] = true;
                break;
            case Phase::Connected:
                want[ReadChannel] = readArmed && !readClosed && (events & (FD_READ | FD_CLOSE));
                want[WriteChannel] = writeArmed && (events & FD_WRITE);
                want[ExceptionChannel] = oobArmed && !readClosed && (events & FD_OOB);
                break;
            case Phase::Unconnected:
            case Phase::Failed:
                break;
            }
        }
    }
    static constexpr QSocketNotifier::Type kTypes[ChannelCount] = {
        QSocketNotifier::Read, QSocketNotifier::Write, QSocketNotifier::Exception};
    for (int c = 0; c < ChannelCount; ++c) {
        const bool on = want[c] && !held[c];
        QSocketNotifier*& notifier = notifiers_[c];
        if (on && !notifier) {
            // Without an application object there is no event loop to deliver anything.
            if (!QCoreApplication::instance())
                continue;
            notifier = new QSocketNotifier(fd, kTypes[c]);
            const auto channel = static_cast<Channel>(c);
            QObject::connect(notifier, &QSocketNotifier::activated, this,
                             [this, channel] { Activated(channel); });
        }
        if (notifier && notifier->isEnabled() != on)
            notifier->setEnabled(on);
    }
}

void CAsyncSocketPrivate::Hold(Channel channel)
{
    held[channel] = true;
    HeldSockets().emplace_back(this);
    Update();
}

void CAsyncSocketPrivate::BeginHold()
{
    ++g_holdDepth;
}

void CAsyncSocketPrivate::EndHold()
{
    if (g_holdDepth == 0 || --g_holdDepth > 0)
        return;
    // Re-enabling the notifiers lets the event loop deliver what is still pending, after the
    // caller has gone on; nothing is delivered from here.
    std::vector<QPointer<CAsyncSocketPrivate>> held;
    held.swap(HeldSockets());
    for (const QPointer<CAsyncSocketPrivate>& socket : held) {
        if (!socket)
            continue;
        for (bool& h : socket->held)
            h = false;
        socket->Update();
    }
}

bool CAsyncSocketPrivate::HoldActive()
{
    return g_holdDepth > 0;
}

// Every handler call is the last thing an activation does with the socket: the handler may
// close or delete it, or delete another socket whose activation is next in the same round.
void CAsyncSocketPrivate::Activated(Channel channel)
{
    if (HoldActive()) {
        Hold(channel);
        return;
    }
    const SOCKET fd = q->m_hSocket;
    if (fd == INVALID_SOCKET)
        return;

    if (channel == ReadChannel) {
        DeliverRead();
        return;
    }

    if (channel == WriteChannel) {
        if (phase == Phase::Connecting) {
            int err = 0;
            socklen_t len = sizeof err;
            if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) != 0)
                err = errno;
            if (err == 0) {
                MarkConnected();
            } else {
                phase = Phase::Failed;
                Update();
            }
            if (events & FD_CONNECT)
                q->OnConnect(err == 0 ? 0 : WsaErrorFromErrno(err));
            return;
        }
        writeArmed = false;
        Update();
        if (events & FD_WRITE)
            q->OnSend(0);
        return;
    }

    // Exception: the error condition also wakes this notifier; only urgent data counts.
    pollfd probe{fd, POLLPRI, 0};
    const bool urgent = ::poll(&probe, 1, 0) > 0 && (probe.revents & POLLPRI);
    oobArmed = false;
    Update();
    if (urgent && (events & FD_OOB))
        q->OnOutOfBandData(0);
}

void CAsyncSocketPrivate::DeliverRead()
{
    const SOCKET fd = q->m_hSocket;
    if (type != SOCK_STREAM) {
        // On Windows every FD_READ that a receive re-enables is queued ahead of painting, so
        // a burst of datagrams is handled before the window repaints. Datagrams already
        // waiting are delivered in the same pass here, one OnReceive each, up to a bound
        // that keeps the loop responsive.
        const QPointer<CAsyncSocketPrivate> self(this);
        for (int delivered = 0; delivered < kDatagramsPerPass; ++delivered) {
            const unsigned startGeneration = generation;
            readArmed = false;  // again after the next ReceiveFrom, as on Windows
            Update();
            if (events & FD_READ)
                q->OnReceive(0);
            if (!self || generation != startGeneration || !readArmed || HoldActive() || !Readable(q->m_hSocket))
                return;
        }
        return;
    }
    if (phase == Phase::Listening) {
        readArmed = false;
        Update();
        if (events & FD_ACCEPT)
            q->OnAccept(0);
        return;
    }

    if (phase != Phase::Connected)
        return;
    // A connected stream is readable for data, for the peer's close and for a reset.
    char byte = 0;
    ssize_t n;
    do {
        n = ::recv(fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
    } while (n < 0 && errno == EINTR);
    if (n > 0) {
        readArmed = false;
        Update();
        if (events & FD_READ)
            q->OnReceive(0);
        return;
    }
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
        return;
    const int error = n == 0 ? 0 : CloseErrorFromErrno(errno);
    readClosed = true;
    Update();
    if (events & FD_CLOSE)
        q->OnClose(error);
}

CAsyncSocketPrivate::WaitResult CAsyncSocketPrivate::WaitFor(Channel channel)
{
    const SOCKET fd = q->m_hSocket;
    if (fd == INVALID_SOCKET)
        return WaitResult::Closed;
    const short pollEvents = channel == ReadChannel ? POLLIN : channel == WriteChannel ? POLLOUT : POLLPRI;
    if (!QCoreApplication::instance()) {
        pollfd p{fd, pollEvents, 0};
        while (::poll(&p, 1, -1) < 0 && errno == EINTR) {
        }
        return WaitResult::Ready;
    }

    static constexpr QSocketNotifier::Type kTypes[ChannelCount] = {
        QSocketNotifier::Read, QSocketNotifier::Write, QSocketNotifier::Exception};
    QPointer<CAsyncSocketPrivate> alive(this);
    const unsigned startGeneration = generation;
    // The socket's own notifiers go off first (the wait ends by its own result), so that no
    // descriptor ever has two enabled notifiers of one type.
    ++waiting_;
    Update();
    QEventLoop loop;
    QSocketNotifier ready(fd, kTypes[channel]);
    QObject::connect(&ready, &QSocketNotifier::activated, &loop, [&ready, &loop] {
        ready.setEnabled(false);
        loop.quit();
    });
    waitLoop_ = &loop;
    waitNotifier_ = &ready;
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    ready.setEnabled(false);
    if (!alive)
        return WaitResult::Destroyed;
    waitLoop_ = nullptr;
    waitNotifier_ = nullptr;
    --waiting_;
    Update();
    if (generation != startGeneration || q->m_hSocket == INVALID_SOCKET)
        return WaitResult::Closed;
    return WaitResult::Ready;
}

// ---------------------------------------------------------------------------------------
// CAsyncSocket

CAsyncSocket::CAsyncSocket() : d_(new CAsyncSocketPrivate(this)) {}

CAsyncSocket::~CAsyncSocket()
{
    CloseHandle();
    delete d_;
}

void CAsyncSocket::CloseHandle()
{
    if (m_hSocket == INVALID_SOCKET)
        return;
    d_->Detach();
    const SOCKET fd = m_hSocket;
    m_hSocket = INVALID_SOCKET;
    ::close(fd);
}

void CAsyncSocket::Close()
{
    CloseHandle();
}

int CAsyncSocket::GetLastError()
{
    return WSAGetLastError();
}

BOOL CAsyncSocket::Create(UINT nSocketPort, int nSocketType, long lEvent, const char* lpszSocketAddress)
{
    if (m_hSocket != INVALID_SOCKET)
        return Fail(WSAEINVAL);
    const int fd = ::socket(AF_INET, nSocketType | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return FailWithErrno();
    m_hSocket = fd;
    d_->Attach(nSocketType, CAsyncSocketPrivate::Phase::Unconnected);
    if (!AsyncSelect(lEvent) || !Bind(nSocketPort, lpszSocketAddress)) {
        const int error = WSAGetLastError();
        Close();
        WSASetLastError(error);
        return FALSE;
    }
    return TRUE;
}

BOOL CAsyncSocket::AsyncSelect(long lEvent)
{
    if (m_hSocket == INVALID_SOCKET)
        return Fail(WSAENOTSOCK);
    d_->events = lEvent;
    // As on Windows, selecting again reports what is already the case.
    d_->readArmed = true;
    d_->oobArmed = true;
    d_->writeArmed = d_->type != SOCK_STREAM || d_->phase == CAsyncSocketPrivate::Phase::Connected;
    d_->Update();
    return TRUE;
}

BOOL CAsyncSocket::Bind(UINT nSocketPort, const char* lpszSocketAddress)
{
    if (m_hSocket == INVALID_SOCKET)
        return Fail(WSAENOTSOCK);
    sockaddr_in address{};
    if (!lanvista::sockets::ResolveIPv4(lpszSocketAddress, nSocketPort, INADDR_ANY, address))
        return Fail(WSAEINVAL);
    if (::bind(m_hSocket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return FailWithErrno();
    return TRUE;
}

BOOL CAsyncSocket::SetSockOpt(int nOptionName, const void* lpOptionValue, int nOptionLen, int nLevel)
{
    if (nOptionLen < 0)
        return Fail(WSAEINVAL);
    if (::setsockopt(m_hSocket, nLevel, nOptionName, lpOptionValue, static_cast<socklen_t>(nOptionLen)) != 0)
        return FailWithErrno();
    return TRUE;
}

BOOL CAsyncSocket::GetSockOpt(int nOptionName, void* lpOptionValue, int* lpOptionLen, int nLevel)
{
    if (!lpOptionLen || *lpOptionLen < 0)
        return Fail(WSAEFAULT);
    socklen_t len = static_cast<socklen_t>(*lpOptionLen);
    if (::getsockopt(m_hSocket, nLevel, nOptionName, lpOptionValue, &len) != 0)
        return FailWithErrno();
    *lpOptionLen = static_cast<int>(len);
    return TRUE;
}

int CAsyncSocket::SendTo(const void* lpBuf, int nBufLen, const SOCKADDR* lpSockAddr, int nSockAddrLen, int nFlags)
{
    if (m_hSocket == INVALID_SOCKET)
        return FailWith(WSAENOTSOCK);
    if (nBufLen < 0 || nSockAddrLen < 0)
        return FailWith(WSAEINVAL);
    ssize_t n;
    do {
        n = ::sendto(m_hSocket, lpBuf, static_cast<size_t>(nBufLen), nFlags | MSG_NOSIGNAL, lpSockAddr,
                     static_cast<socklen_t>(nSockAddrLen));
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        const int error = WsaErrorFromErrno(errno);
        if (error == WSAEWOULDBLOCK)
            d_->ReArmWrite();
        return FailWith(error);
    }
    return static_cast<int>(n);
}

int CAsyncSocket::SendTo(const void* lpBuf, int nBufLen, UINT nHostPort, const char* lpszHostAddress, int nFlags)
{
    sockaddr_in address{};
    if (!lanvista::sockets::ResolveIPv4(lpszHostAddress, nHostPort, INADDR_BROADCAST, address))
        return FailWith(WSAEINVAL);
    return SendTo(lpBuf, nBufLen, reinterpret_cast<const sockaddr*>(&address), sizeof address, nFlags);
}

int CAsyncSocket::ReceiveFrom(void* lpBuf, int nBufLen, std::string& rSocketAddress, UINT& rSocketPort, int nFlags)
{
    if (m_hSocket == INVALID_SOCKET)
        return FailWith(WSAENOTSOCK);
    if (nBufLen < 0)
        return FailWith(WSAEINVAL);
    const bool datagram = d_->type != SOCK_STREAM;
    sockaddr_in from{};
    socklen_t fromLen = sizeof from;
    ssize_t n;
    do {
        n = ::recvfrom(m_hSocket, lpBuf, static_cast<size_t>(nBufLen), nFlags | (datagram ? MSG_TRUNC : 0),
                       reinterpret_cast<sockaddr*>(&from), &fromLen);
    } while (n < 0 && errno == EINTR);
    const int savedErrno = errno;
    d_->ReArmRead();
    if (n < 0)
        return FailWith(WsaErrorFromErrno(savedErrno));
    if (datagram && n > nBufLen)
        return FailWith(WSAEMSGSIZE);
    if (from.sin_family == AF_INET) {
        rSocketAddress = AddressText(from.sin_addr);
        rSocketPort = ntohs(from.sin_port);
    } else {
        rSocketAddress.clear();
        rSocketPort = 0;
    }
    return static_cast<int>(n);
}

int CAsyncSocket::Receive(void* lpBuf, int nBufLen, int nFlags)
{
    if (m_hSocket == INVALID_SOCKET)
        return FailWith(WSAENOTSOCK);
    if (nBufLen < 0)
        return FailWith(WSAEINVAL);
    const bool datagram = d_->type != SOCK_STREAM;
    ssize_t n;
    do {
        n = ::recv(m_hSocket, lpBuf, static_cast<size_t>(nBufLen), nFlags | (datagram ? MSG_TRUNC : 0));
    } while (n < 0 && errno == EINTR);
    const int savedErrno = errno;
    if (nFlags & MSG_OOB)
        d_->oobArmed = true;
    d_->ReArmRead();
    if (n < 0)
        return FailWith(WsaErrorFromErrno(savedErrno));
    if (datagram && n > nBufLen)
        return FailWith(WSAEMSGSIZE);
    return static_cast<int>(n);
}

int CAsyncSocket::Send(const void* lpBuf, int nBufLen, int nFlags)
{
    if (m_hSocket == INVALID_SOCKET)
        return FailWith(WSAENOTSOCK);
    if (nBufLen < 0)
        return FailWith(WSAEINVAL);
    ssize_t n;
    do {
        n = ::send(m_hSocket, lpBuf, static_cast<size_t>(nBufLen), nFlags | MSG_NOSIGNAL);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        const int error = WsaErrorFromErrno(errno);
        if (error == WSAEWOULDBLOCK)
            d_->ReArmWrite();
        return FailWith(error);
    }
    return static_cast<int>(n);
}

BOOL CAsyncSocket::Connect(const char* lpszHostAddress, UINT nHostPort)
{
    if (m_hSocket == INVALID_SOCKET)
        return Fail(WSAENOTSOCK);
    sockaddr_in address{};
    if (!lanvista::sockets::ResolveIPv4(lpszHostAddress, nHostPort, INADDR_NONE, address))
        return Fail(WSAEINVAL);
    int r;
    do {
        r = ::connect(m_hSocket, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    } while (r != 0 && errno == EINTR);
    if (d_->type != SOCK_STREAM)
        return r == 0 ? TRUE : FailWithErrno();
    if (r != 0 && errno != EINPROGRESS)
        return FailWithErrno();
    // Connected at once or under way: either way OnConnect reports it from the event loop.
    d_->phase = CAsyncSocketPrivate::Phase::Connecting;
    d_->Update();
    if (r == 0)
        return TRUE;
    return Fail(WSAEWOULDBLOCK);
}

BOOL CAsyncSocket::Listen(int nConnectionBacklog)
{
    if (m_hSocket == INVALID_SOCKET)
        return Fail(WSAENOTSOCK);
    if (::listen(m_hSocket, nConnectionBacklog) != 0)
        return FailWithErrno();
    d_->phase = CAsyncSocketPrivate::Phase::Listening;
    d_->ReArmRead();
    return TRUE;
}

BOOL CAsyncSocket::Accept(CAsyncSocket& rConnectedSocket)
{
    if (m_hSocket == INVALID_SOCKET)
        return Fail(WSAENOTSOCK);
    if (rConnectedSocket.m_hSocket != INVALID_SOCKET)
        return Fail(WSAEINVAL);
    int fd;
    do {
        fd = ::accept4(m_hSocket, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    const int savedErrno = errno;
    d_->ReArmRead();
    if (fd < 0)
        return Fail(WsaErrorFromErrno(savedErrno));
    rConnectedSocket.m_hSocket = fd;
    rConnectedSocket.d_->Attach(SOCK_STREAM, CAsyncSocketPrivate::Phase::Connected);
    rConnectedSocket.AsyncSelect(d_->events);
    return TRUE;
}

BOOL CAsyncSocket::ShutDown(int nHow)
{
    if (m_hSocket == INVALID_SOCKET)
        return Fail(WSAENOTSOCK);
    const int how = nHow == SD_RECEIVE ? SHUT_RD : nHow == SD_SEND ? SHUT_WR : nHow == SD_BOTH ? SHUT_RDWR : -1;
    if (how < 0)
        return Fail(WSAEINVAL);
    if (::shutdown(m_hSocket, how) != 0)
        return FailWithErrno();
    return TRUE;
}

BOOL CAsyncSocket::GetSockName(std::string& rSocketAddress, UINT& rSocketPort)
{
    if (m_hSocket == INVALID_SOCKET)
        return Fail(WSAENOTSOCK);
    sockaddr_in address{};
    socklen_t len = sizeof address;
    if (::getsockname(m_hSocket, reinterpret_cast<sockaddr*>(&address), &len) != 0)
        return FailWithErrno();
    rSocketAddress = AddressText(address.sin_addr);
    rSocketPort = ntohs(address.sin_port);
    return TRUE;
}

void CAsyncSocket::OnReceive(int) {}
void CAsyncSocket::OnSend(int) {}
void CAsyncSocket::OnOutOfBandData(int) {}
void CAsyncSocket::OnAccept(int) {}
void CAsyncSocket::OnConnect(int) {}
void CAsyncSocket::OnClose(int) {}
