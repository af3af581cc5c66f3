#include "platform/sockets/qt/CAsyncSocketPrivate.h"

#include "platform/sockets/DatagramDrainBudget.h"
#include "platform/sockets/SocketCalls.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QSocketNotifier>

#include <chrono>
#include <poll.h>
#include <vector>

namespace calls = lanvista::sockets;

namespace {

// Sockets whose notifications arrived while a hold was active.
int g_holdDepth = 0;
std::vector<QPointer<CAsyncSocketPrivate>>& HeldSockets()
{
    static std::vector<QPointer<CAsyncSocketPrivate>> held;
    return held;
}

// How long datagrams are delivered back to back before the event loop gets its turn again
// (input, timers, painting): short enough for a key press, long enough that a burst is not
// repainted every few replies.
constexpr std::chrono::nanoseconds kDrainBudget = std::chrono::milliseconds(8);
std::chrono::nanoseconds g_drainBudget = kDrainBudget;

bool Readable(SOCKET fd)
{
    return calls::ReadyNow(fd, POLLIN) != 0;
}

// Passes of the event loop on this thread. A handler across which it changes has run a
// nested loop (a message box), which has delivered notifications and painted in its turn.
unsigned g_loopPasses = 0;

void WatchLoopPasses()
{
    static QPointer<QAbstractEventDispatcher> watched;
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    if (!dispatcher || watched == dispatcher)
        return;
    watched = dispatcher;
    QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, [] { ++g_loopPasses; });
    QObject::connect(dispatcher, &QAbstractEventDispatcher::awake, [] { ++g_loopPasses; });
}

// Windows reports a connection that timed out or failed otherwise as aborted.
int CloseError(int wsaError)
{
    return wsaError == WSAETIMEDOUT ? WSAECONNABORTED : wsaError;
}

}  // namespace

void lanvista::sockets::SetDatagramDrainBudgetForTesting(std::chrono::nanoseconds budget)
{
    g_drainBudget = budget;
}

void lanvista::sockets::ResetDatagramDrainBudgetForTesting()
{
    g_drainBudget = kDrainBudget;
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

void CAsyncSocketPrivate::Select(long lEvent)
{
    events = lEvent;
    readArmed = true;
    oobArmed = true;
    writeArmed = type != SOCK_STREAM || phase == Phase::Connected;
    Update();
}

void CAsyncSocketPrivate::StartConnecting()
{
    phase = Phase::Connecting;
    Update();
}

void CAsyncSocketPrivate::StartListening()
{
    phase = Phase::Listening;
    ReArmRead();
}

void CAsyncSocketPrivate::MarkFailed()
{
    phase = Phase::Failed;
    Update();
}

void CAsyncSocketPrivate::MarkReadClosed()
{
    readClosed = true;
    Update();
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
            const int err = calls::PendingError(fd);
            if (err == 0) {
                MarkConnected();
            } else {
                phase = Phase::Failed;
                Update();
            }
            if (events & FD_CONNECT)
                q->OnConnect(err);
            return;
        }
        writeArmed = false;
        Update();
        if (events & FD_WRITE)
            q->OnSend(0);
        return;
    }

    // Exception: the error condition also wakes this notifier; only urgent data counts.
    const bool urgent = calls::ReadyNow(fd, POLLPRI) != 0;
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
        // waiting are delivered in the same pass here, one OnReceive each, within a time
        // budget that keeps the loop responsive.
        //
        // The notifier stays on while a handler runs: turning it off and on for every
        // datagram costs the event loop a wake-up each. Should it fire before the handler
        // has received (in a nested loop), it is turned off here.
        if (!readArmed) {
            Update();
            return;
        }
        WatchLoopPasses();
        const QPointer<CAsyncSocketPrivate> self(this);
        QElapsedTimer clock;
        clock.start();
        for (;;) {
            const unsigned startGeneration = generation;
            const unsigned startPasses = g_loopPasses;
            readArmed = false;  // again after the next ReceiveFrom, as on Windows
            if (events & FD_READ)
                q->OnReceive(0);
            // Stops when the handler closed or deleted the socket, left the datagram unread,
            // ran a nested loop, or a wait holds notifications back.
            if (!self || generation != startGeneration || !readArmed || !(events & FD_READ)
                || g_loopPasses != startPasses || HoldActive() || clock.nsecsElapsed() >= g_drainBudget.count()
                || !Readable(q->m_hSocket))
                return;
        }
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
    const int n = calls::ReceiveBytes(fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT, false);
    if (n > 0) {
        readArmed = false;
        Update();
        if (events & FD_READ)
            q->OnReceive(0);
        return;
    }
    if (n < 0 && WSAGetLastError() == WSAEWOULDBLOCK)
        return;
    const int error = n == 0 ? 0 : CloseError(WSAGetLastError());
    readClosed = true;
    Update();
    if (events & FD_CLOSE)
        q->OnClose(error);
}

CAsyncSocketPrivate::WaitResult CAsyncSocketPrivate::WaitFor(Channel channel, const std::function<void()>& pending)
{
    const SOCKET fd = q->m_hSocket;
    if (fd == INVALID_SOCKET)
        return WaitResult::Closed;
    const short pollEvents = channel == ReadChannel ? POLLIN : channel == WriteChannel ? POLLOUT : POLLPRI;
    if (!QCoreApplication::instance()) {
        calls::WaitReady(fd, pollEvents);
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
    QMetaObject::Connection wake;
    if (auto* dispatcher = QAbstractEventDispatcher::instance())
        wake = QObject::connect(dispatcher, &QAbstractEventDispatcher::awake, this, pending);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    ready.setEnabled(false);
    if (!alive)
        return WaitResult::Destroyed;
    QObject::disconnect(wake);
    waitLoop_ = nullptr;
    waitNotifier_ = nullptr;
    --waiting_;
    Update();
    if (generation != startGeneration || q->m_hSocket == INVALID_SOCKET)
        return WaitResult::Closed;
    return WaitResult::Ready;
}
