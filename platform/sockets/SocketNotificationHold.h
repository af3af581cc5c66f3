#pragma once

/// Holds back every socket notification of the layer while at least one hold exists.
///
/// A notification that arrives meanwhile is not dispatched: its notifier is switched off and
/// remembered. When the last hold ends, the remembered notifiers are switched on again, so
/// what is still pending is delivered by the event loop afterwards (never from inside the
/// destructor). Holds nest. QEventLoop::ExcludeSocketNotifiers cannot do this job: Qt's
/// default (glib) dispatcher on Linux ignores it.
class SocketNotificationHold {
public:
    SocketNotificationHold();
    ~SocketNotificationHold();

    SocketNotificationHold(const SocketNotificationHold&) = delete;
    SocketNotificationHold& operator=(const SocketNotificationHold&) = delete;

    /// True while any hold exists.
    static bool IsActive();
};
