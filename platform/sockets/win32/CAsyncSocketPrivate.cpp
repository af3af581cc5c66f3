#include "platform/sockets/win32/CAsyncSocketPrivate.h"

#include "platform/sockets/SocketCalls.h"

#include <unordered_map>
#include <utility>
#include <vector>

namespace {

constexpr long kAllEvents = FD_READ | FD_WRITE | FD_OOB | FD_ACCEPT | FD_CONNECT | FD_CLOSE;

// Each open socket posts under a message number of its own, taken in turn from this range:
// a notification still queued for a closed socket cannot reach the next socket that gets
// the same handle value.
constexpr unsigned kFirstMessage = WM_APP + 0x100;
constexpr unsigned kLastMessage = 0xBFFF;
unsigned g_nextMessage = kFirstMessage;
std::unordered_map<unsigned, CAsyncSocketPrivate*> g_sockets;

struct PostedNotification {
    unsigned message;
    WPARAM wParam;
    LPARAM lParam;
};
int g_holdDepth = 0;
std::vector<PostedNotification> g_held;

LRESULT CALLBACK SocketWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (CAsyncSocketPrivate::Dispatch(message, wParam, lParam))
        return 0;
    return DefWindowProcW(window, message, wParam, lParam);
}

// The hidden window that takes every socket's notifications, made on first use.
HWND SocketWindow()
{
    static HWND window = [] {
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = &SocketWindowProc;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = L"LanvistaSocketWindow";
        RegisterClassExW(&windowClass);
        return CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance,
                               nullptr);
    }();
    return window;
}

unsigned TakeMessageNumber()
{
    while (g_sockets.count(g_nextMessage))
        g_nextMessage = g_nextMessage == kLastMessage ? kFirstMessage : g_nextMessage + 1;
    const unsigned message = g_nextMessage;
    g_nextMessage = g_nextMessage == kLastMessage ? kFirstMessage : g_nextMessage + 1;
    return message;
}

// What ends a blocking call's wait on each channel; its close ends every wait.
long EndsWait(int channel)
{
    switch (channel) {
    case CAsyncSocketPrivate::ReadChannel: return FD_READ | FD_ACCEPT | FD_CLOSE;
    case CAsyncSocketPrivate::WriteChannel: return FD_WRITE | FD_CONNECT | FD_CLOSE;
    default: return FD_OOB | FD_CLOSE;
    }
}

// How often a waiting blocking call asks its socket whether it is ready, and for what.
constexpr DWORD kReadinessCheckMs = 100;
constexpr short kPollEvents[] = {POLLIN, POLLOUT, POLLPRI};

// Every message but user input (keys and mouse) and WM_QUIT, which stays for the loop that
// asked for it.
constexpr std::pair<UINT, UINT> kWaitMessages[] = {
    {0, WM_QUIT - 1},
    {WM_QUIT + 1, WM_KEYFIRST - 1},
    {WM_KEYLAST + 1, WM_MOUSEFIRST - 1},
    {WM_MOUSELAST + 1, 0xFFFFFFFF},
};

}  // namespace

CAsyncSocketPrivate::CAsyncSocketPrivate(CAsyncSocket* owner) : q(owner) {}

CAsyncSocketPrivate::~CAsyncSocketPrivate()
{
    *alive_ = false;
    Detach();
}

void CAsyncSocketPrivate::Attach(int socketType, Phase initialPhase)
{
    type = socketType;
    phase = initialPhase;
    events = 0;
    readClosed = false;
    if (message_ == 0) {
        message_ = TakeMessageNumber();
        g_sockets[message_] = this;
    }
}

void CAsyncSocketPrivate::Detach()
{
    if (message_ != 0) {
        if (q->m_hSocket != INVALID_SOCKET)
            WSAAsyncSelect(q->m_hSocket, SocketWindow(), 0, 0);
        g_sockets.erase(message_);
        message_ = 0;
    }
    events = 0;
    phase = Phase::Unconnected;
    readClosed = false;
    waitEnded_ = true;
    ++generation_;
}

void CAsyncSocketPrivate::Select(long lEvent)
{
    events = lEvent;
    // Winsock watches every event, whatever the handlers take: a blocking call's wait ends
    // on them. Selecting again makes Winsock post what is already the case.
    if (message_ != 0)
        WSAAsyncSelect(q->m_hSocket, SocketWindow(), message_, kAllEvents);
}

bool CAsyncSocketPrivate::Dispatch(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)
{
    if (message < kFirstMessage || message > kLastMessage)
        return false;
    const auto found = g_sockets.find(message);
    // Posted before its socket was closed: for nobody now.
    if (found == g_sockets.end() || found->second->q->m_hSocket != static_cast<SOCKET>(wParam))
        return true;
    CAsyncSocketPrivate* socket = found->second;
    const long event = WSAGETSELECTEVENT(lParam);
    const int error = WSAGETSELECTERROR(lParam);
    if (socket->IsWaiting() && (event & EndsWait(socket->waitChannel_))) {
        socket->waitEnded_ = true;
        if (event == FD_CONNECT)
            socket->phase = error == 0 ? Phase::Connected : Phase::Failed;
        return true;
    }
    if (HoldActive()) {
        g_held.push_back({message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam)});
        return true;
    }
    socket->Deliver(event, error);
    return true;
}

// Every handler call is the last thing a notification does with the socket: the handler may
// close or delete it.
void CAsyncSocketPrivate::Deliver(long event, int error)
{
    switch (event) {
    case FD_READ:
        if (events & FD_READ)
            q->OnReceive(error);
        break;
    case FD_WRITE:
        if (events & FD_WRITE)
            q->OnSend(error);
        break;
    case FD_OOB:
        if (events & FD_OOB)
            q->OnOutOfBandData(error);
        break;
    case FD_ACCEPT:
        if (events & FD_ACCEPT)
            q->OnAccept(error);
        break;
    case FD_CONNECT:
        phase = error == 0 ? Phase::Connected : Phase::Failed;
        if (events & FD_CONNECT)
            q->OnConnect(error);
        break;
    case FD_CLOSE:
        if (readClosed)
            break;
        readClosed = true;
        if (events & FD_CLOSE)
            q->OnClose(error);
        break;
    default:
        break;
    }
}

CAsyncSocketPrivate::WaitResult CAsyncSocketPrivate::WaitFor(Channel channel, const std::function<void()>& pending)
{
    if (q->m_hSocket == INVALID_SOCKET)
        return WaitResult::Closed;
    const std::shared_ptr<bool> alive = alive_;
    const unsigned startGeneration = generation_;
    waitChannel_ = channel;
    waitEnded_ = false;
    // Now and then the socket itself is asked too: a blocking call must not wait on past its
    // socket's readiness should the notification not come, however busy the queue keeps.
    ULONGLONG nextCheck = GetTickCount64() + kReadinessCheckMs;
    while (!waitEnded_) {
        bool handled = false;
        for (const auto& [first, last] : kWaitMessages) {
            MSG msg;
            while (!waitEnded_ && PeekMessageW(&msg, nullptr, first, last, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
                if (!*alive)
                    return WaitResult::Destroyed;
                handled = true;
                pending();
                if (!*alive)
                    return WaitResult::Destroyed;
            }
        }
        if (waitEnded_)
            break;
        if (GetTickCount64() >= nextCheck) {
            if (lanvista::sockets::ReadyNow(q->m_hSocket, kPollEvents[channel]) != 0)
                break;
            nextCheck = GetTickCount64() + kReadinessCheckMs;
        }
        // Sleeps until a message other than user input comes, or the next check is due.
        if (!handled) {
            const ULONGLONG now = GetTickCount64();
            MsgWaitForMultipleObjectsEx(0, nullptr, now < nextCheck ? static_cast<DWORD>(nextCheck - now) : 0,
                                        QS_ALLINPUT & ~QS_INPUT, 0);
        }
    }
    waitChannel_ = -1;
    if (generation_ != startGeneration || q->m_hSocket == INVALID_SOCKET)
        return WaitResult::Closed;
    return WaitResult::Ready;
}

void CAsyncSocketPrivate::BeginHold()
{
    ++g_holdDepth;
}

void CAsyncSocketPrivate::EndHold()
{
    if (g_holdDepth == 0 || --g_holdDepth > 0)
        return;
    // Posted again in their order, so the message loop delivers them after the caller has
    // gone on; nothing is delivered from here.
    std::vector<PostedNotification> held;
    held.swap(g_held);
    for (const PostedNotification& n : held)
        PostMessageW(SocketWindow(), n.message, n.wParam, n.lParam);
}

bool CAsyncSocketPrivate::HoldActive()
{
    return g_holdDepth > 0;
}
