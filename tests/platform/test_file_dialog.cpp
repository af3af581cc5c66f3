// The file dialog: the platform's filter string in the toolkit's form, the request a hook
// sees, and the real dialog, which accepts a name of a missing file and leaves the current
// directory alone.
#include "platform/toolkit/CFileDialog.h"
#include "tests/support/FileDialogRecorder.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

constexpr char kFirmwareFilter[] = "Binary File (*.bin)|*.bin|All Files (*.*)|*.*||";

TEST(FileDialogFilter, PlatformFiltersInTheToolkitsForm)
{
    const std::pair<const char*, const char*> cases[] = {
        {kFirmwareFilter, "Binary File (*.bin);;All Files (*)"},
        {"Text|*.txt;*.log||", "Text (*.txt *.log)"},
        {"Images (*.png)|*.png|", "Images (*.png)"},
        {"", ""},
    };
    for (const auto& [windows, qt] : cases)
        EXPECT_EQ(QtFilterFromWindowsFilter(windows), qt) << windows;
}

TEST(FileDialogHook, SeesTheRequestAndAnswersOkOrCancel)
{
    FileDialogRecorder dialogs;
    dialogs.ExpectPath("/fw/Brimnet_v1.2.bin");
    dialogs.ExpectCancel();

    CFileDialog open(TRUE, nullptr, nullptr, OFN_HIDEREADONLY, kFirmwareFilter);
    EXPECT_EQ(open.DoModal(), IDOK);
    EXPECT_EQ(open.GetPathName(), "/fw/Brimnet_v1.2.bin");
    EXPECT_EQ(open.DoModal(), IDCANCEL);
    EXPECT_EQ(open.GetPathName(), "/fw/Brimnet_v1.2.bin") << "a cancel keeps the last path";

    ASSERT_EQ(dialogs.Requests().size(), 2u);
    const FileDialogRequest& request = dialogs.Requests()[0];
    EXPECT_EQ(request.open, TRUE);
    EXPECT_EQ(request.qtFilter, "Binary File (*.bin);;All Files (*)");
    EXPECT_EQ(request.selectedFilter, "Binary File (*.bin)");
    EXPECT_EQ(request.flags, OFN_HIDEREADONLY);
}

TEST(FileDialogHook, UnexpectedDialogAndUnusedAnswerFail)
{
    EXPECT_NONFATAL_FAILURE(
        {
            FileDialogRecorder dialogs;
            CFileDialog open(TRUE);
            EXPECT_EQ(open.DoModal(), IDCANCEL);
        },
        "unexpected file dialog");
    EXPECT_NONFATAL_FAILURE(
        {
            FileDialogRecorder dialogs;
            dialogs.ExpectPath("/never");
        },
        "file dialog never shown");
}

// Accepts the real dialog with fileName typed in once it is open.
void AcceptWhenOpen(QObject* scope, const QString& fileName, QString& seenFilter)
{
    auto* poll = new QTimer(scope);
    QObject::connect(poll, &QTimer::timeout, [poll, fileName, &seenFilter] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr)
            return;
        poll->stop();
        seenFilter = dialog->selectedNameFilter();
        dialog->selectFile(fileName);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    poll->start(5);
}

TEST(RealFileDialog, AcceptsAMissingFileAndKeepsTheCurrentDirectory)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString before = QDir::currentPath();
    const QString missing = dir.filePath("Brimnet_v9.bin");
    QObject scope;
    QString filter;
    AcceptWhenOpen(&scope, missing, filter);

    CFileDialog open(TRUE, nullptr, nullptr, OFN_HIDEREADONLY, kFirmwareFilter);
    ASSERT_EQ(open.DoModal(), IDOK);

    EXPECT_EQ(QString::fromStdString(open.GetPathName()), missing);
    EXPECT_EQ(filter, QStringLiteral("Binary File (*.bin)"));
    EXPECT_EQ(QDir::currentPath(), before);
}

TEST(RealFileDialog, CancelGivesIdCancel)
{
    QObject scope;
    auto* poll = new QTimer(&scope);
    QObject::connect(poll, &QTimer::timeout, [poll] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            poll->stop();
            dialog->reject();
        }
    });
    poll->start(5);
    CFileDialog open(TRUE, nullptr, nullptr, OFN_HIDEREADONLY, kFirmwareFilter);
    EXPECT_EQ(open.DoModal(), IDCANCEL);
    EXPECT_TRUE(open.GetPathName().empty());
}

} // namespace
