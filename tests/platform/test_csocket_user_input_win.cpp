// While a CSocket call waits, windows repaint but user input is held until the wait ends: the
// Win32 form of test_csocket_user_input. A key press posted to a window during the wait sits
// in the thread's queue as a typed key does; the window is invalidated at the same moment.
// Needs a display (the tests' prefix has one), since Wine paints only windows it can show.

#include "SocketTestSupport.h"

#include "platform/sockets/CSocket.h"

#include <vector>

using namespace sockettest;

namespace {

struct KeyRecord {
    WPARAM key;
    bool duringWait;
};

struct WindowRecord {
    std::vector<KeyRecord> keys;
    int paints = 0;
    bool waiting = false;

    bool Saw(WPARAM key) const
    {
        for (const KeyRecord& k : keys)
            if (k.key == key)
                return true;
        return false;
    }
};

WindowRecord g_record;

LRESULT CALLBACK RecordingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_KEYDOWN:
        g_record.keys.push_back({wParam, g_record.waiting});
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        ++g_record.paints;
        return 0;
    }
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

class CSocketUserInput : public SocketTest {
protected:
    void SetUp() override
    {
        g_record = {};
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &RecordingWindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"LanvistaKeyRecorder";
        RegisterClassW(&windowClass);
        window = CreateWindowExW(0, windowClass.lpszClassName, L"keys", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                                 100, nullptr, nullptr, windowClass.hInstance, nullptr);
        ASSERT_NE(window, nullptr) << "no window: is there a display?";
        ASSERT_TRUE(WaitFor([] { return g_record.paints > 0; })) << "the window never painted";
        PostMessageW(window, WM_KEYDOWN, 'A', 1);
        ASSERT_TRUE(WaitFor([] { return g_record.Saw('A'); })) << "keys do not reach the window";
    }
    void TearDown() override
    {
        if (window)
            DestroyWindow(window);
    }

    HWND window = nullptr;
    RawListener listener;
};

TEST_F(CSocketUserInput, KeysDuringAWaitArriveAfterItWhileWindowsRepaint)
{
    CSocket socket;
    ASSERT_TRUE(socket.Create());
    ASSERT_TRUE(socket.Connect("127.0.0.1", listener.port));
    RawSocket fd = INVALID_SOCKET;
    ASSERT_TRUE(WaitFor([&] { return (fd = listener.Accept()) != INVALID_SOCKET; }, 5000));
    int small = 16 * 1024;
    socket.SetSockOpt(SO_SNDBUF, &small, sizeof small);
    SlowReader reader(fd, 8 * 1024);

    int ticksAfterKey = -1;
    int paintsBefore = 0;
    reader.onTick = [&] {
        if (ticksAfterKey < 0) {
            PostMessageW(window, WM_KEYDOWN, 'B', 1);
            paintsBefore = g_record.paints;
            InvalidateRect(window, nullptr, TRUE);
            ticksAfterKey = 0;
        } else {
            ++ticksAfterKey;
        }
    };
    const std::string data = Pattern(2 * 1024 * 1024);
    reader.Start();
    g_record.waiting = true;
    EXPECT_EQ(socket.Send(data.data(), static_cast<int>(data.size())), static_cast<int>(data.size()));
    g_record.waiting = false;

    EXPECT_GT(ticksAfterKey, 20) << "the wait ended too soon to show anything";
    EXPECT_GT(g_record.paints, paintsBefore) << "no repaint during the wait";
    EXPECT_FALSE(g_record.Saw('B')) << "a key reached the window during the wait";
    ASSERT_TRUE(WaitFor([] { return g_record.Saw('B'); }, 5000));
    for (const KeyRecord& k : g_record.keys)
        EXPECT_FALSE(k.duringWait);
}

}  // namespace
