// A client socket that cannot be made because the process has no descriptor left: the
// system's own open-file limit, which only Linux lets a test lower for itself.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>
#include <vector>

#include "FakeDevice.h"
#include "UpdateFixture.h"
#include "ui/CUpdateSocket.h"
#include "tests/support/MessageBoxRecorder.h"

namespace {

// Lowers the open-file limit so that the next socket cannot be made, and puts it back.
class NoFreeDescriptor {
public:
    NoFreeDescriptor()
    {
        getrlimit(RLIMIT_NOFILE, &m_saved);
        const int probe = dup(0);
        close(probe);
        rlimit lowered = m_saved;
        lowered.rlim_cur = static_cast<rlim_t>(probe) + 4;
        setrlimit(RLIMIT_NOFILE, &lowered);
        // Fill every slot under the limit, so that no descriptor freed meanwhile helps.
        for (int i = 0; i < 64; ++i) {
            const int fd = dup(0);
            if (fd < 0)
                break;
            m_filled.push_back(fd);
        }
    }
    ~NoFreeDescriptor()
    {
        for (int fd : m_filled)
            close(fd);
        setrlimit(RLIMIT_NOFILE, &m_saved);
    }

private:
    rlimit m_saved{};
    std::vector<int> m_filled;
};

}  // namespace

// The connection stays registered, as the message says: Start Update then does nothing
// until the program is restarted.
TEST(StartUpdate, SocketThatCannotBeMadeLeavesTheDownloadInert)
{
    FakeDevice device;
    DialogFixture f(DownloadNetwork(device.port()));
    MessageBoxRecorder boxes;
    SetLoopbackUpdateAddress(f.dialog());

    // UndefinedBehaviorSanitizer checks an object's type through a pipe the first time it
    // meets that type, which it cannot make with no descriptor left: a click and the download
    // socket are met once while descriptors are still free.
    f.Click(IDC_UPDATE_TRACE);
    {
        CUpdateSocket typeMetOnce(&f.dialog());
        EXPECT_TRUE(typeMetOnce.Create());
    }

    boxes.Expect("Failed to create client socket: 10024! Close and restart app.");
    {
        NoFreeDescriptor exhausted;
        f.Click(IDC_START_UPDATE);
    }
    EXPECT_EQ(boxes.Pending(), 0u);
    CUpdateSocket* const inert = f.dialog().m_pDownload;
    EXPECT_NE(inert, nullptr);

    f.Click(IDC_START_UPDATE);
    EXPECT_EQ(f.dialog().m_pDownload, inert);
}
