#include "platform/OutputDebugString.h"

#include <QLoggingCategory>
#include <QString>
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

struct Captured {
    QtMsgType type;
    QString category;
    QString text;
};

std::vector<Captured>& Messages()
{
    static std::vector<Captured> messages;
    return messages;
}

void Capture(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    Messages().push_back({type, QString::fromUtf8(context.category ? context.category : ""), text});
}

class OutputDebugStringTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Messages().clear();
        previous_ = qInstallMessageHandler(&Capture);
    }
    void TearDown() override
    {
        qInstallMessageHandler(previous_);
        QLoggingCategory::setFilterRules(QString());
    }
    QtMessageHandler previous_ = nullptr;
};

TEST_F(OutputDebugStringTest, IsSilentByDefault)
{
    if (std::getenv("QT_LOGGING_RULES"))
        GTEST_SKIP() << "QT_LOGGING_RULES is set";
    OutputDebugStringA("CUdpAsySk::OnReceive\n");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(OutputDebugStringTest, ReachesTheHandlerWhenTheCategoryIsOn)
{
    QLoggingCategory::setFilterRules(QStringLiteral("lanvista.trace.debug=true"));
    OutputDebugStringA("CUdpAsySk::OnClose\n");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].type, QtDebugMsg);
    EXPECT_EQ(Messages()[0].category, QStringLiteral("lanvista.trace"));
    EXPECT_EQ(Messages()[0].text, QStringLiteral("CUdpAsySk::OnClose\n"));
}

// Registered a second time with QT_LOGGING_RULES="lanvista.trace.debug=true" in its environment.
TEST_F(OutputDebugStringTest, IsSwitchedOnByTheEnvironment)
{
    const char* rules = std::getenv("QT_LOGGING_RULES");
    if (!rules || QString::fromUtf8(rules) != QStringLiteral("lanvista.trace.debug=true"))
        GTEST_SKIP() << "runs with QT_LOGGING_RULES=lanvista.trace.debug=true";
    OutputDebugStringA("CUdpAsySk::OnAccept\n");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text, QStringLiteral("CUdpAsySk::OnAccept\n"));
}

}  // namespace
