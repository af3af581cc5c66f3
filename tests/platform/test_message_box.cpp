// Message boxes: the one wrapper with its caption and icon rules, the test hook and its
// recorder, and the real modal box when no hook is installed.
#include "platform/toolkit/CWinApp.h"
#include "platform/toolkit/CWnd.h"
#include "platform/toolkit/MessageBox.h"
#include "platform/toolkit/ResourceTable.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/Wait.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

TEST(MessageBox, CaptionIsTheExecutablesNameWithoutExtension)
{
    const QString executable = QFileInfo(QCoreApplication::arguments().first()).completeBaseName();
    EXPECT_EQ(AfxGetAppName(), executable.toStdString());
    EXPECT_EQ(std::string(AfxGetAppName()), "test_toolkit_message_box");
}

struct IconCase {
    UINT given;
    UINT shown;
};

TEST(MessageBox, AfxMessageBoxAddsTheTypesUsualIcon)
{
    const IconCase cases[] = {
        {MB_OK, MB_OK | MB_ICONEXCLAMATION},
        {MB_OKCANCEL, MB_OKCANCEL | MB_ICONEXCLAMATION},
        {MB_YESNO, MB_YESNO | MB_ICONQUESTION},
        {MB_YESNOCANCEL, MB_YESNOCANCEL | MB_ICONQUESTION},
        {MB_RETRYCANCEL, MB_RETRYCANCEL},
        {MB_OK | MB_ICONSTOP, MB_OK | MB_ICONSTOP},
        {MB_OK | MB_ICONINFORMATION, MB_OK | MB_ICONINFORMATION},
    };
    MessageBoxRecorder boxes;
    for (const IconCase& c : cases) {
        boxes.Expect("text", {}, MessageBoxAnswers(c.given).back());
        EXPECT_EQ(AfxMessageBox("text", c.given), MessageBoxAnswers(c.given).back());
    }
    ASSERT_EQ(boxes.Boxes().size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(boxes.Boxes()[i].type, cases[i].shown) << "case " << i;
        EXPECT_EQ(boxes.Boxes()[i].caption, AfxGetAppName());
    }
}

TEST(MessageBox, StringResourceAndWindowBoxes)
{
    ResourceTable::AddString(7001, "소켓 오류");
    MessageBoxRecorder boxes;
    boxes.Expect("소켓 오류");
    boxes.Expect("");
    boxes.Expect("Can't Open File !");
    boxes.Expect("Untitled", {}, IDNO);
    AfxMessageBox(7001u);
    AfxMessageBox(7002u);

    CWnd window;
    window.MessageBox("Can't Open File !", "Warning", MB_OK | MB_ICONSTOP);
    EXPECT_EQ(window.MessageBox("Untitled", nullptr, MB_YESNO), IDNO);

    ASSERT_EQ(boxes.Boxes().size(), 4u);
    EXPECT_EQ(boxes.Boxes()[1].text, "") << "a missing string shows an empty box";
    EXPECT_EQ(boxes.Boxes()[2].caption, "Warning");
    EXPECT_EQ(boxes.Boxes()[2].type, MB_OK | MB_ICONSTOP);
    EXPECT_EQ(boxes.Boxes()[3].caption, AfxGetAppName());
    EXPECT_EQ(boxes.Boxes()[3].type, MB_YESNO) << "a window's box adds no icon";
}

TEST(MessageBoxRecorderChecks, UnexpectedWrongAndUnansweredBoxesFailTheTest)
{
    EXPECT_NONFATAL_FAILURE(
        {
            MessageBoxRecorder boxes;
            AfxMessageBox("surprise");
        },
        "unexpected message box: \"surprise\"");
    EXPECT_NONFATAL_FAILURE(
        {
            MessageBoxRecorder boxes;
            boxes.Expect("wanted");
            AfxMessageBox("other");
        },
        "differs from the expected one");
    EXPECT_NONFATAL_FAILURE(
        {
            MessageBoxRecorder boxes;
            boxes.Expect("question", {}, IDYES);
            EXPECT_EQ(AfxMessageBox("question", MB_OK), IDOK);
        },
        "is not a button of the box");
    EXPECT_NONFATAL_FAILURE(
        {
            MessageBoxRecorder boxes;
            boxes.Expect("never");
        },
        "message box never shown: \"never\"");
}

TEST(MessageBoxRecorderChecks, WhileOpenRunsInsideTheBox)
{
    MessageBoxRecorder boxes;
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
    timer.start(1);
    bool answered = false;
    boxes.Expect("wait", [&] { EXPECT_TRUE(WaitUntil([&ticks] { return ticks >= 3; })); EXPECT_FALSE(answered); });
    AfxMessageBox("wait");
    answered = true;
    EXPECT_GE(ticks, 3);
}

// Finds the real box once its loop runs, records it, then lets act close it.
void WhenBoxOpens(QObject* scope, std::function<void(QMessageBox*)> act)
{
    auto* poll = new QTimer(scope);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr)
            return;
        poll->stop();
        act(box);
    });
    poll->start(5);
}

TEST(RealMessageBox, ShowsTextCaptionIconAndKeepsTheLoopRunning)
{
    QObject scope;
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
    ticker.start(1);
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool selectable = false;
    WhenBoxOpens(&scope, [&](QMessageBox* box) {
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        const QList<QLabel*> labels = box->findChildren<QLabel*>();
        for (QLabel* label : labels)
            selectable = selectable || (label->text() == text && (label->textInteractionFlags() & Qt::TextSelectableByMouse));
        const int before = ticks;
        WaitUntil([&ticks, before] { return ticks > before + 2; });
        QTest::keyClick(box, Qt::Key_Return);
    });

    EXPECT_EQ(AfxMessageBox("Save Complete!"), IDOK);
    EXPECT_EQ(title.toStdString(), AfxGetAppName());
    EXPECT_EQ(text, QStringLiteral("Save Complete!"));
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_TRUE(selectable);
}

TEST(RealMessageBox, ButtonsAndEscapeGiveThePlatformsAnswers)
{
    QObject scope;
    WhenBoxOpens(&scope, [](QMessageBox* box) { box->button(QMessageBox::No)->click(); });
    EXPECT_EQ(AfxMessageBox("Replace?", MB_YESNO), IDNO);

    QObject second;
    WhenBoxOpens(&second, [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
    CWnd window;
    EXPECT_EQ(window.MessageBox("Can't Open File !", "Warning", MB_OK | MB_ICONSTOP), IDOK)
        << "Esc on a box with only OK answers OK";
}

} // namespace
