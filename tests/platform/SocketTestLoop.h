#pragma once

// The event loop of the socket tests on either system: Qt's (the layer's notifiers live
// there) or the thread's Win32 message loop (the layer's hidden window lives there). Waits
// are on conditions with deadlines; Pump lets the loop run for a while.

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#ifdef _WIN32
#include <windows.h>

#include <map>
#else
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <QtTest/QTest>
#endif

namespace sockettest {

#ifdef _WIN32

namespace detail {

inline std::map<UINT_PTR, std::function<void()>>& OneShots()
{
    static std::map<UINT_PTR, std::function<void()>> oneShots;
    return oneShots;
}

inline void CALLBACK OneShotFired(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    const auto found = OneShots().find(id);
    if (found == OneShots().end())
        return;
    const std::function<void()> call = std::move(found->second);
    OneShots().erase(found);
    call();
}

// Handles what is queued, then sleeps until more comes or `ms` pass.
inline void PumpOnce(DWORD ms)
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT)
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjectsEx(0, nullptr, ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

}  // namespace detail

/// Runs the loop until `done` holds or `ms` pass; whether it holds.
inline bool WaitFor(const std::function<bool()>& done, int ms = 5000)
{
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(ms);
    while (!done()) {
        const ULONGLONG now = GetTickCount64();
        if (now >= end)
            return done();
        detail::PumpOnce(static_cast<DWORD>(end - now < 10 ? end - now : 10));
    }
    return true;
}

/// Runs the loop for `ms`.
inline void Pump(int ms)
{
    WaitFor([] { return false; }, ms);
}

/// Calls `call` once from the loop after `ms`.
inline void RunLater(int ms, std::function<void()> call)
{
    const UINT_PTR id = SetTimer(nullptr, 0, static_cast<UINT>(ms), &detail::OneShotFired);
    detail::OneShots()[id] = std::move(call);
}

/// Calls `tick` from the loop every `ms` while it lives or until Stop.
class RepeatingTimer {
public:
    explicit RepeatingTimer(std::function<void()> tick) : tick_(std::move(tick)) {}
    ~RepeatingTimer() { Stop(); }
    RepeatingTimer(const RepeatingTimer&) = delete;
    RepeatingTimer& operator=(const RepeatingTimer&) = delete;

    void Start(int ms)
    {
        Stop();
        id_ = SetTimer(nullptr, 0, static_cast<UINT>(ms), &RepeatingTimer::Fired);
        Running()[id_] = this;
    }
    void Stop()
    {
        if (id_ == 0)
            return;
        KillTimer(nullptr, id_);
        Running().erase(id_);
        id_ = 0;
    }

private:
    static std::map<UINT_PTR, RepeatingTimer*>& Running()
    {
        static std::map<UINT_PTR, RepeatingTimer*> running;
        return running;
    }
    static void CALLBACK Fired(HWND, UINT, UINT_PTR id, DWORD)
    {
        const auto found = Running().find(id);
        if (found != Running().end())
            found->second->tick_();
    }

    std::function<void()> tick_;
    UINT_PTR id_ = 0;
};

/// A nested loop such as a modal box runs: until Quit, or `ms` at most.
class ModalLoop {
public:
    void Run(int ms)
    {
        quit_ = false;
        WaitFor([this] { return quit_; }, ms);
    }
    void Quit() { quit_ = true; }

private:
    bool quit_ = false;
};

namespace detail {
using LoopId = DWORD;
inline LoopId CurrentLoop()
{
    return GetCurrentThreadId();
}
inline void PostEmpty(LoopId loop)
{
    PostThreadMessageW(loop, WM_NULL, 0, 0);
}
}  // namespace detail

#else

inline bool WaitFor(const std::function<bool()>& done, int ms = 5000)
{
    return QTest::qWaitFor(done, ms);
}

inline void Pump(int ms)
{
    QTest::qWait(ms);
}

inline void RunLater(int ms, std::function<void()> call)
{
    QTimer::singleShot(ms, std::move(call));
}

class RepeatingTimer {
public:
    explicit RepeatingTimer(std::function<void()> tick)
    {
        QObject::connect(&timer_, &QTimer::timeout, std::move(tick));
    }
    void Start(int ms) { timer_.start(ms); }
    void Stop() { timer_.stop(); }

private:
    QTimer timer_;
};

class ModalLoop {
public:
    void Run(int ms)
    {
        QTimer::singleShot(ms, &loop_, &QEventLoop::quit);
        loop_.exec();
    }
    void Quit() { loop_.quit(); }

private:
    QEventLoop loop_;
};

namespace detail {
using LoopId = QCoreApplication*;
inline LoopId CurrentLoop()
{
    return QCoreApplication::instance();
}
inline void PostEmpty(LoopId loop)
{
    QMetaObject::invokeMethod(loop, [] {}, Qt::QueuedConnection);
}
}  // namespace detail

#endif

/// Another thread posting an empty message to this thread's loop every `ms`, up to `limit` of
/// them, as busy traffic keeps a queue from ever running dry.
class MessageStream {
public:
    MessageStream(int ms, int limit) : loop_(detail::CurrentLoop())
    {
        thread_ = std::thread([this, ms, limit] {
            for (; !stop_ && posted_ < limit; ++posted_) {
                detail::PostEmpty(loop_);
                std::this_thread::sleep_for(std::chrono::milliseconds(ms));
            }
        });
    }
    ~MessageStream() { Stop(); }
    MessageStream(const MessageStream&) = delete;
    MessageStream& operator=(const MessageStream&) = delete;
    void Stop()
    {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
    }
    int posted() const { return posted_; }

private:
    detail::LoopId loop_;
    std::atomic<bool> stop_{false};
    std::atomic<int> posted_{0};
    std::thread thread_;
};

}  // namespace sockettest
