#pragma once

#include "platform/sockets/NetworkAdapter.h"
#include "platform/sockets/WinSock.h"

#include <cstddef>
#include <new>
#include <span>
#include <string>

class CAsyncSocketPrivate;

/// A non-blocking IPv4 socket whose readiness reaches the virtual On* handlers on the GUI
/// thread, in whatever event loop runs (modal dialogs and message boxes included).
///
/// Notifications follow the Windows rules: FD_READ and FD_ACCEPT come once and come again
/// after the next Receive/ReceiveFrom/Accept call; FD_WRITE comes once when the socket
/// becomes usable and again only after a send failed with WSAEWOULDBLOCK; FD_CONNECT
/// reports the end of a non-blocking Connect; FD_CLOSE comes once when the peer closed
/// (0) or reset (WSAECONNRESET) the connection. A handler may Close() or delete its socket,
/// or any other socket; a closed or deleted socket gets no further notification.
class CAsyncSocket {
public:
    CAsyncSocket();
    /// Closes the socket if it is still open (no virtual calls).
    virtual ~CAsyncSocket();

    CAsyncSocket(const CAsyncSocket&) = delete;
    CAsyncSocket& operator=(const CAsyncSocket&) = delete;

    // Socket objects (the program's included) come from the layer, so that a test can make
    // their allocation fail.
    static void* operator new(std::size_t size);
    static void* operator new(std::size_t size, const std::nothrow_t&) noexcept;
    static void operator delete(void* object) noexcept;
    static void operator delete(void* object, const std::nothrow_t&) noexcept;

    SOCKET m_hSocket = INVALID_SOCKET;

    /// Makes an IPv4 socket of the type, asks for the notifications in lEvent and binds it
    /// (no address given = all local addresses). If binding fails the socket is closed again
    /// and the error number kept. Address reuse is never requested.
    BOOL Create(UINT nSocketPort = 0, int nSocketType = SOCK_STREAM,
                long lEvent = FD_READ | FD_WRITE | FD_OOB | FD_ACCEPT | FD_CONNECT | FD_CLOSE,
                const char* lpszSocketAddress = nullptr);
    /// Chooses which notifications are delivered (0 = none).
    BOOL AsyncSelect(long lEvent = FD_READ | FD_WRITE | FD_OOB | FD_ACCEPT | FD_CONNECT | FD_CLOSE);
    BOOL Bind(UINT nSocketPort, const char* lpszSocketAddress = nullptr);

    BOOL SetSockOpt(int nOptionName, const void* lpOptionValue, int nOptionLen, int nLevel = SOL_SOCKET);
    BOOL GetSockOpt(int nOptionName, void* lpOptionValue, int* lpOptionLen, int nLevel = SOL_SOCKET);

    /// Sends to an IPv4 destination; returns the bytes sent or SOCKET_ERROR.
    int SendTo(const void* lpBuf, int nBufLen, const SOCKADDR* lpSockAddr, int nSockAddrLen, int nFlags = 0);
    /// Sends to a dotted-decimal address or host name (nullptr = broadcast).
    int SendTo(const void* lpBuf, int nBufLen, UINT nHostPort, const char* lpszHostAddress, int nFlags = 0);
    /// As SendTo; a datagram to the limited broadcast address 255.255.255.255 goes out once
    /// through each broadcast adapter with that adapter's address as source, and fails only
    /// when it went out on none (see lanvista::sockets::SendToEachAdapter).
    int SendToEachAdapter(const void* lpBuf, int nBufLen, const SOCKADDR* lpSockAddr, int nSockAddrLen,
                          int nFlags = 0);
    /// As SendToEachAdapter, but a broadcast goes out only through the adapters by which the
    /// `heard` datagrams came in, through each when none of them is up (see
    /// lanvista::sockets::SendToAdaptersHeard).
    int SendToAdaptersHeard(const void* lpBuf, int nBufLen, const SOCKADDR* lpSockAddr, int nSockAddrLen,
                            std::span<const DatagramArrival> heard, int nFlags = 0);
    /// Receives one datagram; 0 for an empty one. A datagram longer than the buffer fills it
    /// and fails with WSAEMSGSIZE. On success stores the sender as dotted decimal and port.
    int ReceiveFrom(void* lpBuf, int nBufLen, std::string& rSocketAddress, UINT& rSocketPort, int nFlags = 0);
    /// As ReceiveFrom, with the sender as an address and how the datagram came in: the
    /// address it was sent to and the adapter it arrived on.
    int ReceiveFrom(void* lpBuf, int nBufLen, SOCKADDR_IN& rFrom, DatagramArrival& rArrival, int nFlags = 0);

    /// Returns the bytes received, 0 when the peer has closed, or SOCKET_ERROR.
    virtual int Receive(void* lpBuf, int nBufLen, int nFlags = 0);
    /// Returns the bytes sent (possibly fewer than asked) or SOCKET_ERROR.
    virtual int Send(const void* lpBuf, int nBufLen, int nFlags = 0);
    /// Starts a connect: FALSE with WSAEWOULDBLOCK while it is under way; its end is
    /// reported by OnConnect(error).
    virtual BOOL Connect(const char* lpszHostAddress, UINT nHostPort);
    BOOL Listen(int nConnectionBacklog = 5);
    /// Accepts into an unopened socket, which gets this socket's notification mask.
    virtual BOOL Accept(CAsyncSocket& rConnectedSocket);
    BOOL ShutDown(int nHow = SD_SEND);
    BOOL GetSockName(std::string& rSocketAddress, UINT& rSocketPort);

    /// Closes the handle, stops its notifications and marks it invalid; nothing when already
    /// invalid. May be called from the socket's own handler.
    virtual void Close();

    static int GetLastError();

protected:
    virtual void OnReceive(int nErrorCode);
    virtual void OnSend(int nErrorCode);
    virtual void OnOutOfBandData(int nErrorCode);
    virtual void OnAccept(int nErrorCode);
    virtual void OnConnect(int nErrorCode);
    virtual void OnClose(int nErrorCode);

private:
    friend class CAsyncSocketPrivate;
    friend class CSocket;

    void CloseHandle();
    // Re-arms FD_WRITE after a send that would block.
    int AfterSend(int result);

    CAsyncSocketPrivate* d_;
};
