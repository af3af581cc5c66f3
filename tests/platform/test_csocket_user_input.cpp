// While a CSocket call waits, windows repaint but user input is held until the wait ends.
//
// Key presses made with QTest are delivered synchronously and cannot show holding, so this
// test runs on Qt's "vnc" platform and types through a minimal RFB client on loopback: those
// keys travel the platform's real, asynchronous input queue.

#include "SocketTestSupport.h"

#include "platform/sockets/CSocket.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QWidget>

#include <memory>
#include <sys/stat.h>

using namespace sockettest;

namespace {

bool g_vncAvailable = false;
std::uint16_t g_vncPort = 0;

class KeyRecorder : public QWidget {
public:
    struct Key {
        int key;
        bool duringWait;
    };
    std::vector<Key> keys;
    int paints = 0;
    bool waiting = false;

    bool Saw(int key) const
    {
        for (const Key& k : keys)
            if (k.key == key)
                return true;
        return false;
    }

protected:
    void keyPressEvent(QKeyEvent* event) override { keys.push_back({event->key(), waiting}); }
    void paintEvent(QPaintEvent*) override { ++paints; }
};

// The listening TCP socket the vnc platform opened on an ephemeral port.
std::uint16_t VncServerPort()
{
    for (int fd = 0; fd < 1024; ++fd) {
        struct stat st{};
        if (fstat(fd, &st) != 0 || !S_ISSOCK(st.st_mode))
            continue;
        int listening = 0;
        socklen_t len = sizeof listening;
        if (getsockopt(fd, SOL_SOCKET, SO_ACCEPTCONN, &listening, &len) == 0 && listening)
            return PortOf(fd);
    }
    return 0;
}

/// Just enough of the RFB 3.3 client side to send key events.
class RfbKeyboard {
public:
    ~RfbKeyboard()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    bool Connect(std::uint16_t port)
    {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a = Loopback(port);
        if (::connect(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0)
            return false;
        SetNonBlocking(fd_);
        std::string version, security, init, name;
        if (!Read(12, version) || version != "RFB 003.003\n")
            return false;
        Write(version);
        if (!Read(4, security) || security != std::string("\0\0\0\1", 4))
            return false;
        Write(std::string(1, '\1'));  // shared session
        if (!Read(24, init))
            return false;
        const auto nameLength = static_cast<unsigned char>(init[23]) | static_cast<unsigned char>(init[22]) << 8;
        return Read(static_cast<size_t>(nameLength), name);
    }
    void Type(char latin1)
    {
        for (const char down : {'\1', '\0'})
            Write(std::string{'\4', down, '\0', '\0', '\0', '\0', '\0', latin1});
    }

private:
    bool Read(size_t count, std::string& out)
    {
        out.clear();
        return QTest::qWaitFor(
            [&] {
                char buf[256];
                const ssize_t n = ::recv(fd_, buf, std::min(sizeof buf, count - out.size()), 0);
                if (n > 0)
                    out.append(buf, static_cast<size_t>(n));
                return out.size() == count;
            },
            5000);
    }
    void Write(const std::string& bytes) { ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL); }

    int fd_ = -1;
};

class CSocketUserInput : public SocketTest {
protected:
    void SetUp() override
    {
        SocketTest::SetUp();
        if (!g_vncAvailable)
            GTEST_SKIP() << "Qt's vnc platform plugin is not installed";
        window = std::make_unique<KeyRecorder>();
        window->setFocusPolicy(Qt::StrongFocus);
        window->resize(100, 100);
        window->show();
        window->activateWindow();
        window->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == window.get(); }, 5000));
        ASSERT_NE(g_vncPort, 0) << "the vnc platform opened no listening socket";
        ASSERT_TRUE(keyboard.Connect(g_vncPort));
        keyboard.Type('a');
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->Saw(Qt::Key_A); }, 5000)) << "typing does not work";
    }

    std::unique_ptr<KeyRecorder> window;
    RfbKeyboard keyboard;
    RawListener listener;
};

TEST_F(CSocketUserInput, KeysTypedDuringAWaitArriveAfterItWhileWindowsRepaint)
{
    CSocket socket;
    ASSERT_TRUE(socket.Create());
    ASSERT_TRUE(socket.Connect("127.0.0.1", listener.port));
    int fd = -1;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (fd = listener.Accept()) >= 0; }, 5000));
    int small = 16 * 1024;
    socket.SetSockOpt(SO_SNDBUF, &small, sizeof small);
    SlowReader reader(fd, 8 * 1024);

    int ticksAfterKey = -1;
    int paintsBefore = 0;
    reader.onTick = [&] {
        if (ticksAfterKey < 0) {
            keyboard.Type('b');
            paintsBefore = window->paints;
            window->update();
            ticksAfterKey = 0;
        } else {
            ++ticksAfterKey;
        }
    };
    const std::string data = Pattern(2 * 1024 * 1024);
    reader.Start();
    window->waiting = true;
    EXPECT_EQ(socket.Send(data.data(), static_cast<int>(data.size())), static_cast<int>(data.size()));
    window->waiting = false;

    EXPECT_GT(ticksAfterKey, 20) << "the wait ended too soon to show anything";
    EXPECT_GT(window->paints, paintsBefore) << "no repaint during the wait";
    EXPECT_FALSE(window->Saw(Qt::Key_B)) << "a key reached the window during the wait";
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->Saw(Qt::Key_B); }, 5000));
    for (const KeyRecorder::Key& k : window->keys)
        EXPECT_FALSE(k.duringWait);
}

}  // namespace

// Qt's vnc platform plugin does not free its frame buffer dirty map at exit; that is not ours
// to report in a sanitizer build.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libqvnc.so\n";
}

int main(int argc, char** argv)
{
    const QString plugins = QLibraryInfo::path(QLibraryInfo::PluginsPath);
    g_vncAvailable = !QDir(plugins + QStringLiteral("/platforms")).entryList({QStringLiteral("*qvnc*")}).isEmpty();
    std::unique_ptr<QCoreApplication> app;
    if (g_vncAvailable) {
        // port=0: the server takes an ephemeral port, found again through the process's sockets.
        qputenv("QT_QPA_PLATFORM", "vnc:size=320x240:port=0");
        app = std::make_unique<QApplication>(argc, argv);
        // The server starts listening from the event loop.
        if (!QTest::qWaitFor([] { return (g_vncPort = VncServerPort()) != 0; }, 5000))
            g_vncPort = 0;
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
