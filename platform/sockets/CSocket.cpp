#include "platform/sockets/CSocket.h"

#include "platform/sockets/CAsyncSocketPrivate.h"
#include "platform/sockets/SocketCalls.h"
#include "platform/sockets/SocketNotificationHold.h"

#include <optional>

namespace {

using Channel = CAsyncSocketPrivate::Channel;
using WaitResult = CAsyncSocketPrivate::WaitResult;

int SocketError(int wsaError)
{
    WSASetLastError(wsaError);
    return SOCKET_ERROR;
}

bool IsBrokenConnection(int wsaError)
{
    return wsaError == WSAECONNRESET || wsaError == WSAECONNABORTED || wsaError == WSAENOTCONN;
}

}  // namespace

CSocket::CSocket() = default;
CSocket::~CSocket() = default;

BOOL CSocket::Create(UINT nSocketPort, int nSocketType, long lEvent, const char* lpszSocketAddress)
{
    return CAsyncSocket::Create(nSocketPort, nSocketType, lEvent, lpszSocketAddress);
}

BOOL CSocket::ShutDown(int nHow)
{
    return CAsyncSocket::ShutDown(nHow);
}

void CSocket::Close()
{
    // A blocking call that waits on this socket ends with WSAEINTR.
    CAsyncSocket::Close();
}

BOOL CSocket::IsBlocking() const
{
    return d_->IsWaiting() ? TRUE : FALSE;
}

BOOL CSocket::OnMessagePending()
{
    return FALSE;
}

// Every blocking call holds the layer's notifications from its first wait to its return.
// When a wait reports Destroyed, `this` is gone: the call returns without touching it.

BOOL CSocket::Connect(const char* lpszHostAddress, UINT nHostPort)
{
    if (m_hSocket == INVALID_SOCKET)
        return SocketError(WSAENOTSOCK), FALSE;
    if (d_->IsWaiting())
        return SocketError(WSAEINPROGRESS), FALSE;
    if (d_->type != SOCK_STREAM)
        return CAsyncSocket::Connect(lpszHostAddress, nHostPort);
    sockaddr_in address{};
    if (!lanvista::sockets::ResolveIPv4(lpszHostAddress, nHostPort, INADDR_NONE, address))
        return SocketError(WSAEINVAL), FALSE;
    const bool connected = lanvista::sockets::ConnectSocket(m_hSocket, address);
    if (!connected && WSAGetLastError() != WSAEINPROGRESS)
        return FALSE;

    int error = 0;
    if (!connected) {
        SocketNotificationHold hold;
        const WaitResult waited = d_->WaitFor(CAsyncSocketPrivate::WriteChannel, [this] { OnMessagePending(); });
        if (waited == WaitResult::Destroyed)
            return SocketError(WSAEINTR), FALSE;
        if (waited == WaitResult::Closed)
            error = WSAEINTR;
        if (error == 0)
            error = lanvista::sockets::PendingError(m_hSocket);
    }
    if (error != 0) {
        if (m_hSocket != INVALID_SOCKET)
            d_->MarkFailed();
        return SocketError(error), FALSE;
    }
    d_->MarkConnected();
    return TRUE;
}

int CSocket::Send(const void* lpBuf, int nBufLen, int nFlags)
{
    if (m_hSocket == INVALID_SOCKET)
        return SocketError(WSAENOTSOCK);
    if (d_->IsWaiting())
        return SocketError(WSAEINPROGRESS);
    if (nBufLen < 0 || (!lpBuf && nBufLen > 0))
        return SocketError(WSAEINVAL);
    const char* bytes = static_cast<const char*>(lpBuf);
    std::optional<SocketNotificationHold> hold;
    int sent = 0;
    int error = 0;
    while (sent < nBufLen) {
        const int n = lanvista::sockets::SendBytes(m_hSocket, bytes + sent, nBufLen - sent, nFlags);
        if (n >= 0) {
            sent += n;
            continue;
        }
        if (WSAGetLastError() != WSAEWOULDBLOCK) {
            error = WSAGetLastError();
            break;
        }
        if (!hold)
            hold.emplace();
        const WaitResult waited = d_->WaitFor(CAsyncSocketPrivate::WriteChannel, [this] { OnMessagePending(); });
        if (waited == WaitResult::Destroyed)
            return SocketError(WSAEINTR);
        if (waited == WaitResult::Closed) {
            error = WSAEINTR;
            break;
        }
    }
    if (error != 0 && hold && IsBrokenConnection(error) && m_hSocket != INVALID_SOCKET) {
        // The close that broke the wait is this call's result, not a later OnClose.
        d_->MarkReadClosed();
    }
    hold.reset();
    if (error != 0)
        return SocketError(error);
    return nBufLen;
}

int CSocket::Receive(void* lpBuf, int nBufLen, int nFlags)
{
    if (m_hSocket == INVALID_SOCKET)
        return SocketError(WSAENOTSOCK);
    if (d_->IsWaiting())
        return SocketError(WSAEINPROGRESS);
    std::optional<SocketNotificationHold> hold;
    for (;;) {
        const int n = CAsyncSocket::Receive(lpBuf, nBufLen, nFlags);
        const int error = n == SOCKET_ERROR ? WSAGetLastError() : 0;
        if (error != WSAEWOULDBLOCK) {
            if (hold && d_->type == SOCK_STREAM && (n == 0 || IsBrokenConnection(error))) {
                // The close that ended the wait is this call's result, not a later OnClose.
                d_->MarkReadClosed();
            }
            hold.reset();
            if (n == SOCKET_ERROR)
                return SocketError(error);
            return n;
        }
        if (!hold)
            hold.emplace();
        const WaitResult waited = d_->WaitFor(CAsyncSocketPrivate::ReadChannel, [this] { OnMessagePending(); });
        if (waited == WaitResult::Destroyed)
            return SocketError(WSAEINTR);
        if (waited == WaitResult::Closed) {
            hold.reset();
            return SocketError(WSAEINTR);
        }
    }
}
