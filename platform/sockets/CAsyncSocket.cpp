#include "platform/sockets/CAsyncSocket.h"

#include "platform/sockets/CAsyncSocketPrivate.h"
#include "platform/sockets/SendToEachAdapter.h"
#include "platform/sockets/SocketCalls.h"

#include <cstring>
#include <new>

// The socket's calls, the same on every system; how readiness reaches the handlers is the
// system's (CAsyncSocketPrivate: qt/ or win32/).

namespace calls = lanvista::sockets;

namespace {

// Failure results of checks made before any call.
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

}  // namespace

// ---------------------------------------------------------------------------------------
// CAsyncSocket

CAsyncSocket::CAsyncSocket() : d_(new CAsyncSocketPrivate(this)) {}

void* CAsyncSocket::operator new(std::size_t size)
{
    if (void* object = calls::AllocateSocketObject(size))
        return object;
    throw std::bad_alloc();
}

void* CAsyncSocket::operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return calls::AllocateSocketObject(size);
}

void CAsyncSocket::operator delete(void* object) noexcept
{
    calls::FreeSocketObject(object);
}

void CAsyncSocket::operator delete(void* object, const std::nothrow_t&) noexcept
{
    calls::FreeSocketObject(object);
}

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
    calls::CloseSocket(fd);
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
    const SOCKET fd = calls::OpenSocket(nSocketType);
    if (fd == INVALID_SOCKET)
        return FALSE;
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
    // As on Windows, selecting again reports what is already the case.
    d_->Select(lEvent);
    return TRUE;
}

BOOL CAsyncSocket::Bind(UINT nSocketPort, const char* lpszSocketAddress)
{
    if (m_hSocket == INVALID_SOCKET)
        return Fail(WSAENOTSOCK);
    sockaddr_in address{};
    if (!calls::ResolveIPv4(lpszSocketAddress, nSocketPort, INADDR_ANY, address))
        return Fail(WSAEINVAL);
    return calls::BindSocket(m_hSocket, address) ? TRUE : FALSE;
}

BOOL CAsyncSocket::SetSockOpt(int nOptionName, const void* lpOptionValue, int nOptionLen, int nLevel)
{
    if (nOptionLen < 0)
        return Fail(WSAEINVAL);
    return calls::SetSocketOption(m_hSocket, nLevel, nOptionName, lpOptionValue, nOptionLen) ? TRUE : FALSE;
}

BOOL CAsyncSocket::GetSockOpt(int nOptionName, void* lpOptionValue, int* lpOptionLen, int nLevel)
{
    if (!lpOptionLen || *lpOptionLen < 0)
        return Fail(WSAEFAULT);
    return calls::GetSocketOption(m_hSocket, nLevel, nOptionName, lpOptionValue, *lpOptionLen) ? TRUE : FALSE;
}

int CAsyncSocket::SendTo(const void* lpBuf, int nBufLen, const SOCKADDR* lpSockAddr, int nSockAddrLen, int nFlags)
{
    if (m_hSocket == INVALID_SOCKET)
        return FailWith(WSAENOTSOCK);
    if (nBufLen < 0 || nSockAddrLen < 0)
        return FailWith(WSAEINVAL);
    return AfterSend(calls::SendBytesTo(m_hSocket, lpBuf, nBufLen, nFlags, lpSockAddr, nSockAddrLen));
}

int CAsyncSocket::SendTo(const void* lpBuf, int nBufLen, UINT nHostPort, const char* lpszHostAddress, int nFlags)
{
    sockaddr_in address{};
    if (!calls::ResolveIPv4(lpszHostAddress, nHostPort, INADDR_BROADCAST, address))
        return FailWith(WSAEINVAL);
    return SendTo(lpBuf, nBufLen, reinterpret_cast<const sockaddr*>(&address), sizeof address, nFlags);
}

int CAsyncSocket::SendToEachAdapter(const void* lpBuf, int nBufLen, const SOCKADDR* lpSockAddr, int nSockAddrLen,
                                    int nFlags)
{
    return SendToAdaptersHeard(lpBuf, nBufLen, lpSockAddr, nSockAddrLen, {}, nFlags);
}

int CAsyncSocket::SendToAdaptersHeard(const void* lpBuf, int nBufLen, const SOCKADDR* lpSockAddr, int nSockAddrLen,
                                      std::span<const DatagramArrival> heard, int nFlags)
{
    if (!lpSockAddr || nSockAddrLen < static_cast<int>(sizeof(sockaddr_in)) || lpSockAddr->sa_family != AF_INET)
        return SendTo(lpBuf, nBufLen, lpSockAddr, nSockAddrLen, nFlags);
    if (m_hSocket == INVALID_SOCKET)
        return FailWith(WSAENOTSOCK);
    if (nBufLen < 0)
        return FailWith(WSAEINVAL);
    sockaddr_in destination{};
    std::memcpy(&destination, lpSockAddr, sizeof destination);
    return AfterSend(calls::SendToAdaptersHeard(m_hSocket, lpBuf, nBufLen, nFlags, destination, heard));
}

int CAsyncSocket::AfterSend(int result)
{
    // As on Windows, a send that would block is followed by one FD_WRITE once it can go on.
    if (result == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK)
        d_->ReArmWrite();
    return result;
}

int CAsyncSocket::ReceiveFrom(void* lpBuf, int nBufLen, std::string& rSocketAddress, UINT& rSocketPort, int nFlags)
{
    if (m_hSocket == INVALID_SOCKET)
        return FailWith(WSAENOTSOCK);
    if (nBufLen < 0)
        return FailWith(WSAEINVAL);
    const bool datagram = d_->type != SOCK_STREAM;
    sockaddr_in from{};
    const int n = calls::ReceiveBytes(m_hSocket, lpBuf, nBufLen, nFlags, datagram, &from);
    d_->ReArmRead();
    if (n == SOCKET_ERROR)
        return SOCKET_ERROR;
    if (from.sin_family == AF_INET) {
        rSocketAddress = calls::AddressText(from.sin_addr);
        rSocketPort = ntohs(from.sin_port);
    } else {
        rSocketAddress.clear();
        rSocketPort = 0;
    }
    return n;
}

int CAsyncSocket::ReceiveFrom(void* lpBuf, int nBufLen, SOCKADDR_IN& rFrom, DatagramArrival& rArrival, int nFlags)
{
    rFrom = {};
    rArrival = {};
    if (m_hSocket == INVALID_SOCKET)
        return FailWith(WSAENOTSOCK);
    if (nBufLen < 0)
        return FailWith(WSAEINVAL);
    const int n = calls::ReceiveBytes(m_hSocket, lpBuf, nBufLen, nFlags, d_->type != SOCK_STREAM, &rFrom, &rArrival);
    d_->ReArmRead();
    return n;
}

int CAsyncSocket::Receive(void* lpBuf, int nBufLen, int nFlags)
{
    if (m_hSocket == INVALID_SOCKET)
        return FailWith(WSAENOTSOCK);
    if (nBufLen < 0)
        return FailWith(WSAEINVAL);
    const int n = calls::ReceiveBytes(m_hSocket, lpBuf, nBufLen, nFlags, d_->type != SOCK_STREAM);
    if (nFlags & MSG_OOB)
        d_->ReArmOutOfBand();
    d_->ReArmRead();
    return n;
}

int CAsyncSocket::Send(const void* lpBuf, int nBufLen, int nFlags)
{
    if (m_hSocket == INVALID_SOCKET)
        return FailWith(WSAENOTSOCK);
    if (nBufLen < 0)
        return FailWith(WSAEINVAL);
    return AfterSend(calls::SendBytes(m_hSocket, lpBuf, nBufLen, nFlags));
}

BOOL CAsyncSocket::Connect(const char* lpszHostAddress, UINT nHostPort)
{
    if (m_hSocket == INVALID_SOCKET)
        return Fail(WSAENOTSOCK);
    sockaddr_in address{};
    if (!calls::ResolveIPv4(lpszHostAddress, nHostPort, INADDR_NONE, address))
        return Fail(WSAEINVAL);
    const bool connected = calls::ConnectSocket(m_hSocket, address);
    if (d_->type != SOCK_STREAM)
        return connected ? TRUE : FALSE;
    if (!connected && WSAGetLastError() != WSAEINPROGRESS)
        return FALSE;
    // Connected at once or under way: either way OnConnect reports it from the event loop.
    d_->StartConnecting();
    if (connected)
        return TRUE;
    return Fail(WSAEWOULDBLOCK);
}

BOOL CAsyncSocket::Listen(int nConnectionBacklog)
{
    if (m_hSocket == INVALID_SOCKET)
        return Fail(WSAENOTSOCK);
    if (!calls::ListenOn(m_hSocket, nConnectionBacklog))
        return FALSE;
    d_->StartListening();
    return TRUE;
}

BOOL CAsyncSocket::Accept(CAsyncSocket& rConnectedSocket)
{
    if (m_hSocket == INVALID_SOCKET)
        return Fail(WSAENOTSOCK);
    if (rConnectedSocket.m_hSocket != INVALID_SOCKET)
        return Fail(WSAEINVAL);
    const SOCKET fd = calls::AcceptConnection(m_hSocket);
    d_->ReArmRead();
    if (fd == INVALID_SOCKET)
        return FALSE;
    rConnectedSocket.m_hSocket = fd;
    rConnectedSocket.d_->Attach(SOCK_STREAM, CAsyncSocketPrivate::Phase::Connected);
    rConnectedSocket.AsyncSelect(d_->events);
    return TRUE;
}

BOOL CAsyncSocket::ShutDown(int nHow)
{
    if (m_hSocket == INVALID_SOCKET)
        return Fail(WSAENOTSOCK);
    return calls::ShutDownSocket(m_hSocket, nHow) ? TRUE : FALSE;
}

BOOL CAsyncSocket::GetSockName(std::string& rSocketAddress, UINT& rSocketPort)
{
    if (m_hSocket == INVALID_SOCKET)
        return Fail(WSAENOTSOCK);
    sockaddr_in address{};
    if (!calls::SocketName(m_hSocket, address))
        return FALSE;
    rSocketAddress = calls::AddressText(address.sin_addr);
    rSocketPort = ntohs(address.sin_port);
    return TRUE;
}

void CAsyncSocket::OnReceive(int) {}
void CAsyncSocket::OnSend(int) {}
void CAsyncSocket::OnOutOfBandData(int) {}
void CAsyncSocket::OnAccept(int) {}
void CAsyncSocket::OnConnect(int) {}
void CAsyncSocket::OnClose(int) {}
