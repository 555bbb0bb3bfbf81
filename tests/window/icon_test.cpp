// SPDX-License-Identifier: GPL-3.0-or-later
#include <QIcon>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

#include "window/editor_icon.h"
#include "window/form1.h"

namespace {

// The program's icon at every size it ships in, as committed and as embedded: square,
// with a transparency mask (clear corners around an opaque page).
class IconSize : public testing::TestWithParam<int> {
protected:
    static void expectTransparentAroundAPage(QImage image, int n) {
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), QSize(n, n));
        ASSERT_TRUE(image.hasAlphaChannel());
        image = image.convertToFormat(QImage::Format_ARGB32);
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(image.pixel(n - 1, 0)), 0);
        EXPECT_EQ(qAlpha(image.pixel(n - 1, n - 1)), 0);
        EXPECT_EQ(qAlpha(image.pixel(n / 2, n / 2)), 255);
        EXPECT_EQ(qAlpha(image.pixel(n / 4, n * 3 / 4)), 255);
    }
};

TEST_P(IconSize, CommittedPngIsSquareWithTransparentCornersAndAnOpaquePage) {
    const int n = GetParam();
    const QString path = QStringLiteral(EDT_ICON_DIR "/hicolor/%1x%1/apps/edt-editor.png").arg(n);
    SCOPED_TRACE(path.toStdString());
    expectTransparentAroundAPage(QImage(path), n);
}

TEST_P(IconSize, IsEmbeddedInTheProgram) {
    const int n = GetParam();
    const QIcon icon = edt::editorIcon();
    EXPECT_TRUE(icon.availableSizes().contains(QSize(n, n)));
    expectTransparentAroundAPage(icon.pixmap(QSize(n, n), 1.0).toImage(), n);
}

INSTANTIATE_TEST_SUITE_P(Sizes, IconSize, testing::Values(16, 32, 48, 64, 128, 256));

TEST(Form1Icon, TheWindowShowsTheProgramsIcon) {
    edt::Form1 form;
    EXPECT_TRUE(form.windowIcon().availableSizes().contains(QSize(32, 32)));
    EXPECT_EQ(form.windowIcon().pixmap(QSize(32, 32), 1.0).toImage(),
              edt::editorIcon().pixmap(QSize(32, 32), 1.0).toImage());
}

} // namespace
