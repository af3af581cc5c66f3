#pragma once

// Inside of the socket layer on Qt: readiness through QSocketNotifier, with the Windows
// notification rules kept by hand. Shared by CAsyncSocket, CSocket and
// SocketNotificationHold; program code never includes this header.

#include "platform/sockets/CAsyncSocket.h"

#include <QObject>

#include <functional>

class QEventLoop;
class QSocketNotifier;

class CAsyncSocketPrivate : public QObject {
public:
    enum Channel { ReadChannel, WriteChannel, ExceptionChannel, ChannelCount };
    enum class Phase { Unconnected, Listening, Connecting, Connected, Failed };
    enum class WaitResult { Ready, Closed, Destroyed };

    explicit CAsyncSocketPrivate(CAsyncSocket* owner);
    ~CAsyncSocketPrivate() override;

    /// Takes a freshly opened descriptor (already non-blocking) of the given type.
    void Attach(int type, Phase phase);
    /// Stops every notification and any wait; called right before the descriptor is closed.
    void Detach();
    /// Enables exactly the notifiers that the state asks for.
    void Update();
    /// Chooses the notifications delivered; what is already the case is reported again.
    void Select(long lEvent);
    void StartConnecting();
    void StartListening();
    void MarkConnected();
    void MarkFailed();
    /// The peer's close was a blocking call's result: no OnClose follows for it.
    void MarkReadClosed();
    void ReArmRead() { readArmed = true; Update(); }
    void ReArmOutOfBand() { oobArmed = true; }
    void ReArmWrite() { writeArmed = true; Update(); }

    /// Runs a nested event loop (user input excluded) until the channel is ready, calling
    /// `pending` each time the loop wakes up. On Destroyed the socket object no longer
    /// exists: touch nothing of it.
    WaitResult WaitFor(Channel channel, const std::function<void()>& pending);

    // The layer-wide notification hold.
    static void BeginHold();
    static void EndHold();
    static bool HoldActive();

    CAsyncSocket* const q;
    int type = 0;
    long events = 0;
    Phase phase = Phase::Unconnected;
    bool readArmed = false;   // FD_READ / FD_ACCEPT / FD_CLOSE may be reported
    bool writeArmed = false;  // one FD_WRITE is due
    bool oobArmed = false;    // FD_OOB may be reported
    bool readClosed = false;  // the peer closed or reset: read side finished
    bool held[ChannelCount] = {};
    unsigned generation = 0;  // changes on every close, so handlers can tell a reopened socket

private:
    void Activated(Channel channel);
    void Hold(Channel channel);
    void DeliverRead();

    QSocketNotifier* notifiers_[ChannelCount] = {};
    QEventLoop* waitLoop_ = nullptr;
    QSocketNotifier* waitNotifier_ = nullptr;
    int waiting_ = 0;

public:
    bool IsWaiting() const { return waiting_ > 0; }
};
