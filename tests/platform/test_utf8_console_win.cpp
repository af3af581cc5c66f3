// The console a command-line tool writes to takes UTF-8 while the tool runs, and gets its own
// code page back afterwards, since the console outlives the tool.
#include <gtest/gtest.h>

#include <windows.h>

#include "platform/sockets/Utf8Console.h"

using lanvista::sockets::Utf8Console;

namespace {

constexpr UINT kKorean = 949;

class Utf8ConsoleTest : public testing::Test {
protected:
    void SetUp() override
    {
        // The test's output is captured; a console of its own stands for the user's window.
        // Wine attaches a console without a code page to a program started from a pipe.
        if (::GetConsoleOutputCP() == 0) {
            ::FreeConsole();
            ASSERT_TRUE(::AllocConsole()) << "error " << ::GetLastError();
        }
        m_original = ::GetConsoleOutputCP();
        ASSERT_TRUE(::SetConsoleOutputCP(kKorean));
    }
    void TearDown() override { ::SetConsoleOutputCP(m_original); }

private:
    UINT m_original = 0;
};

} // namespace

TEST_F(Utf8ConsoleTest, TakesUtf8WhileItLivesAndGivesTheConsoleItsCodePageBack)
{
    {
        const Utf8Console console;
        EXPECT_EQ(::GetConsoleOutputCP(), static_cast<UINT>(CP_UTF8));
    }
    EXPECT_EQ(::GetConsoleOutputCP(), kKorean);
}
