#pragma once

// Inside of the socket layer on Win32: WSAAsyncSelect posts each socket's readiness to a
// hidden message window of the thread, whose procedure calls the handlers; Winsock itself
// keeps the notification rules (one FD_READ until the next receive, FD_WRITE after a send
// that would block). Shared by CAsyncSocket, CSocket and SocketNotificationHold; program
// code never includes this header.

#include "platform/sockets/CAsyncSocket.h"

#include <cstdint>
#include <functional>
#include <memory>

class CAsyncSocketPrivate {
public:
    enum Channel { ReadChannel, WriteChannel, ExceptionChannel, ChannelCount };
    enum class Phase { Unconnected, Listening, Connecting, Connected, Failed };
    enum class WaitResult { Ready, Closed, Destroyed };

    explicit CAsyncSocketPrivate(CAsyncSocket* owner);
    ~CAsyncSocketPrivate();

    CAsyncSocketPrivate(const CAsyncSocketPrivate&) = delete;
    CAsyncSocketPrivate& operator=(const CAsyncSocketPrivate&) = delete;

    /// Takes a freshly opened socket of the given type: its readiness is posted from now on.
    void Attach(int type, Phase phase);
    /// Stops every notification and any wait; called right before the socket is closed.
    void Detach();
    /// Chooses the notifications delivered; what is already the case is posted again.
    void Select(long lEvent);
    void StartConnecting() { phase = Phase::Connecting; }
    void StartListening() { phase = Phase::Listening; }
    void MarkConnected() { phase = Phase::Connected; }
    void MarkFailed() { phase = Phase::Failed; }
    /// The peer's close was a blocking call's result: no OnClose follows for it.
    void MarkReadClosed() { readClosed = true; }
    // Winsock posts FD_READ, FD_OOB and FD_WRITE again by itself after a receive or a send
    // that would block: nothing to arm here.
    void ReArmRead() {}
    void ReArmOutOfBand() {}
    void ReArmWrite() {}

    /// Pumps the thread's messages, user input left queued, until the channel is ready,
    /// calling `pending` each time a message has been handled. On Destroyed the socket
    /// object no longer exists: touch nothing of it.
    WaitResult WaitFor(Channel channel, const std::function<void()>& pending);
    bool IsWaiting() const { return waitChannel_ >= 0; }

    // The layer-wide notification hold.
    static void BeginHold();
    static void EndHold();
    static bool HoldActive();

    /// Handles one posted notification; false when it is not a socket message.
    static bool Dispatch(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

    CAsyncSocket* const q;
    int type = 0;
    long events = 0;
    Phase phase = Phase::Unconnected;
    bool readClosed = false;

private:
    void Deliver(long event, int error);

    unsigned message_ = 0;          // this socket's own message number while attached, else 0
    unsigned generation_ = 0;       // changes on every close, so a wait can tell
    int waitChannel_ = -1;          // the channel a blocking call waits on, -1 for none
    bool waitEnded_ = false;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
