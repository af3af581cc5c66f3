#pragma once

#include "platform/sockets/CAsyncSocket.h"

/// The blocking socket: Connect, Send and Receive return only when they are done.
///
/// While one of them waits, the event loop keeps running without user input (windows
/// repaint, timers fire), and every notification of the socket layer, for this socket and
/// all others, is held and delivered after the wait. The waiting socket's own notifications
/// (its connect completion, its close) end the wait instead: the call returns its result.
/// There is no time limit beyond what the system gives.
class CSocket : public CAsyncSocket {
public:
    CSocket();
    ~CSocket() override;

    BOOL Create(UINT nSocketPort = 0, int nSocketType = SOCK_STREAM,
                long lEvent = FD_READ | FD_WRITE | FD_OOB | FD_ACCEPT | FD_CONNECT | FD_CLOSE,
                const char* lpszSocketAddress = nullptr);
    /// Waits until connected (TRUE) or failed (FALSE, e.g. WSAECONNREFUSED). No OnConnect follows.
    BOOL Connect(const char* lpszHostAddress, UINT nHostPort) override;
    /// Waits until all nBufLen bytes are sent; returns nBufLen or SOCKET_ERROR.
    int Send(const void* lpBuf, int nBufLen, int nFlags = 0) override;
    /// Waits until data arrives; returns the count, 0 when the peer has closed, or SOCKET_ERROR.
    int Receive(void* lpBuf, int nBufLen, int nFlags = 0) override;
    BOOL ShutDown(int nHow = SD_SEND);
    void Close() override;

    /// True while a Connect, Send or Receive of this socket waits.
    BOOL IsBlocking() const;
    /// Called while a blocking call waits, each time the event loop wakes up; repainting
    /// needs nothing from it here. Returns FALSE.
    virtual BOOL OnMessagePending();
};
