#include <QImage>
#include <gtest/gtest.h>

namespace {

// The program's icon at every size it ships in: square, with a transparency mask
// (clear corners around an opaque page).
class IconSize : public testing::TestWithParam<int> {};

TEST_P(IconSize, IsSquareWithTransparentCornersAndAnOpaquePage) {
    const int n = GetParam();
    const QString path = QStringLiteral(EDT_ICON_DIR "/hicolor/%1x%1/apps/edt-editor.png").arg(n);
    QImage image(path);
    ASSERT_FALSE(image.isNull()) << path.toStdString();
    EXPECT_EQ(image.size(), QSize(n, n));
    ASSERT_TRUE(image.hasAlphaChannel());
    image = image.convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(image.pixel(n - 1, 0)), 0);
    EXPECT_EQ(qAlpha(image.pixel(n - 1, n - 1)), 0);
    EXPECT_EQ(qAlpha(image.pixel(n / 2, n / 2)), 255);
    EXPECT_EQ(qAlpha(image.pixel(n / 4, n * 3 / 4)), 255);
}

INSTANTIATE_TEST_SUITE_P(Sizes, IconSize, testing::Values(16, 32, 48, 64, 128, 256));

} // namespace
