// Resources and painting: strings, templates and icons of the resource table, window icons,
// and a minimised dialog painting its icon through WM_PAINT, CPaintDC and the platform's
// icon-background erase.
#include "ToolkitTestDialog.h"

#include "platform/toolkit/CPaintDC.h"
#include "platform/toolkit/CRect.h"
#include "platform/toolkit/qt/QtHandles.h"
#include "platform/toolkit/ResourceTable.h"

#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace toolkit_test;

namespace {

constexpr std::uint32_t kPalette[] = {0xFFFF0000, 0xFF0000FF, 0x8000FF00};
constexpr const char* kRows4[] = {"aabb", "aabb", "c..c", "cccc"};
constexpr const char* kRows2[] = {"bb", "ba"};
constexpr IconImage kImages[] = {{4, kRows4, kPalette}, {2, kRows2, kPalette}};

constexpr std::uint32_t kSolid[] = {0xFF123456};
constexpr const char* kSolid32[] = {
    "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
};
constexpr IconImage kSolidImages[] = {{32, kSolid32, kSolid}};
constexpr int kSolidIcon = 7301;

QImage ImageOf(HICON icon, int size)
{
    return icon->icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32);
}

TEST(ResourceTable, StringsAndTemplatesByIdEmptyOrNullWhenMissing)
{
    ResourceTable::AddString(7201, "Lanvista 정보(&A)...");
    EXPECT_EQ(ResourceTable::LoadString(7201), "Lanvista 정보(&A)...");
    EXPECT_EQ(AfxLoadString(7201), "Lanvista 정보(&A)...");
    EXPECT_EQ(ResourceTable::LoadString(7202), "");
    RegisterTestResources();
    ASSERT_NE(ResourceTable::FindDialog(static_cast<int>(kControlsDialog)), nullptr);
    EXPECT_STREQ(ResourceTable::FindDialog(static_cast<int>(kControlsDialog))->caption, "Toolkit test");
    EXPECT_EQ(ResourceTable::FindDialog(7203), nullptr);
    EXPECT_EQ(ResourceTable::LoadIcon(7204), nullptr);
}

TEST(ResourceTable, IconRowsMapLettersToPaletteEntriesAndDotsToClear)
{
    ResourceTable::AddIcon(7210, kImages);
    HICON icon = ResourceTable::LoadIcon(7210);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(ResourceTable::LoadIcon(7210), icon) << "one handle per icon";
    const QImage big = ImageOf(icon, 4);
    EXPECT_EQ(big.pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(big.pixel(3, 1), 0xFF0000FFu);
    EXPECT_EQ(big.pixel(0, 2), 0x8000FF00u);
    EXPECT_EQ(qAlpha(big.pixel(1, 2)), 0);
    const QImage small = ImageOf(icon, 2);
    EXPECT_EQ(small.pixel(1, 1), 0xFFFF0000u) << "each size keeps its own image";

    // Registering the icon again changes what the handle shows, not the handle.
    ResourceTable::AddIcon(7210, kSolidImages);
    EXPECT_EQ(ResourceTable::LoadIcon(7210), icon);
    EXPECT_EQ(ImageOf(icon, 32).pixel(5, 5), 0xFF123456u);
}

TEST(ResourceTable, MalformedIconDataIsRejected)
{
    constexpr const char* kShortRow[] = {"aa", "a"};
    constexpr const char* kBadLetter[] = {"ad", "aa"};
    const IconImage shortRow[] = {{2, kShortRow, kPalette}};
    const IconImage badLetter[] = {{2, kBadLetter, kPalette}};
    EXPECT_THROW(ResourceTable::AddIcon(7220, shortRow), std::invalid_argument);
    EXPECT_THROW(ResourceTable::AddIcon(7221, badLetter), std::invalid_argument);
    EXPECT_EQ(ResourceTable::LoadIcon(7220), nullptr);
}

// Paints like a dialog of the platform: its icon in the middle while it is minimised.
class IconDialog : public TestDialog {
public:
    IconDialog()
    {
        ResourceTable::AddIcon(kSolidIcon, kSolidImages);
        m_hIcon = ResourceTable::LoadIcon(kSolidIcon);
    }
    HICON m_hIcon;
    int paints = 0;

protected:
    void OnPaint()
    {
        ++paints;
        if (!IsIconic()) {
            CDialog::OnPaint();
            return;
        }
        CPaintDC dc(this);
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
        CRect rect;
        GetClientRect(&rect);
        dc.DrawIcon((rect.Width() - GetSystemMetrics(SM_CXICON) + 1) / 2,
                    (rect.Height() - GetSystemMetrics(SM_CYICON) + 1) / 2, m_hIcon);
    }
    HCURSOR OnQueryDragIcon() { return m_hIcon; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(IconDialog, TestDialog)
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
END_MESSAGE_MAP()

// What the window paints itself, without its controls.
QImage OwnPainting(QWidget* window)
{
    QImage image(window->size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    window->render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    return image;
}

TEST(MinimisedPainting, IconCentredOnTheErasedBackground)
{
    IconDialog dialog;
    ASSERT_TRUE(dialog.Open());
    QWidget* window = dialog.Window();
    dialog.ShowWindow(SW_MINIMIZE);
    ASSERT_EQ(dialog.IsIconic(), TRUE);

    const QImage image = OwnPainting(window);
    EXPECT_GT(dialog.paints, 0);
    const int x = (image.width() - 32 + 1) / 2;
    const int y = (image.height() - 32 + 1) / 2;
    EXPECT_EQ(image.pixel(x, y), 0xFF123456u);
    EXPECT_EQ(image.pixel(x + 31, y + 31), 0xFF123456u);
    EXPECT_NE(image.pixel(x - 1, y), 0xFF123456u);
    EXPECT_EQ(QColor(image.pixel(1, 1)), window->palette().window().color()) << "the background was erased";

    dialog.ShowWindow(SW_RESTORE);
    ASSERT_EQ(dialog.IsIconic(), FALSE);
    EXPECT_NE(OwnPainting(window).pixel(x, y), 0xFF123456u) << "a normal window paints no icon";
    EXPECT_EQ(reinterpret_cast<HICON>(dialog.SendMessage(WM_QUERYDRAGICON)), dialog.m_hIcon);
}

TEST(MinimisedPainting, PaintContextOutsidePaintingDrawsNothing)
{
    IconDialog dialog;
    ASSERT_TRUE(dialog.Open());
    CPaintDC dc(&dialog);
    EXPECT_EQ(dc.GetSafeHdc(), nullptr);
    EXPECT_EQ(dc.DrawIcon(0, 0, dialog.m_hIcon), FALSE);
}

TEST(WindowIcon, BigAndSmallIconsSetTheWindowIcon)
{
    IconDialog dialog;
    ASSERT_TRUE(dialog.Open());
    ResourceTable::AddIcon(7230, kImages);
    HICON other = ResourceTable::LoadIcon(7230);
    EXPECT_EQ(dialog.SetIcon(dialog.m_hIcon, TRUE), nullptr);
    EXPECT_EQ(dialog.SetIcon(dialog.m_hIcon, FALSE), nullptr);
    EXPECT_EQ(dialog.GetIcon(TRUE), dialog.m_hIcon);
    QImage shown = dialog.Window()->windowIcon().pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(shown.pixel(10, 10), 0xFF123456u);
    EXPECT_EQ(dialog.SetIcon(other, FALSE), dialog.m_hIcon) << "returns the icon set before";
    EXPECT_EQ(dialog.GetIcon(FALSE), other);
}

} // namespace
