#include "app/AboutLogoData.h"
#include "app/JpegImage.h"

#include <gtest/gtest.h>

#include <vector>

TEST(JpegImage, DecodesTheEmbeddedAboutPicture) {
    const JpegImage::Result result = JpegImage::decode(kAboutLogoJpeg, kAboutLogoJpegSize);
    ASSERT_TRUE(result.error.isEmpty()) << result.error.toStdString();
    ASSERT_EQ(result.image.size(), QSize(300, 140));
    // The picture is a blue gradient with a light frame: its corners are not black or white.
    const QColor corner = result.image.pixelColor(2, 70);
    EXPECT_GT(corner.blue(), corner.red());
    // The green screen of the drawn terminal.
    const QColor screen = result.image.pixelColor(30, 95);
    EXPECT_GT(screen.green(), 150);
    EXPECT_LT(screen.red(), 80);
}

TEST(JpegImage, ReportsBrokenDataInsteadOfCrashing) {
    const std::vector<unsigned char> garbage(64, 0x5A);
    JpegImage::Result result = JpegImage::decode(garbage.data(), garbage.size());
    EXPECT_TRUE(result.image.isNull());
    EXPECT_FALSE(result.error.isEmpty());

    // A truncated JPEG: the header is fine, the data stops early. libjpeg pads it; it must not crash.
    result = JpegImage::decode(kAboutLogoJpeg, kAboutLogoJpegSize / 3);
    EXPECT_TRUE(result.image.isNull() || result.image.size() == QSize(300, 140));

    result = JpegImage::decode(nullptr, 0);
    EXPECT_TRUE(result.image.isNull());
    EXPECT_FALSE(result.error.isEmpty());
}
