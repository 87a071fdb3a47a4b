#include "CraftedPictures.h"
#include "TestStation.h"
#include "pictures/PictureLimits.h"

#include <QImageReader>

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using pictures::SizeCheck;

struct LimitCase {
    const char* format;
    QSize claimed;
    SizeCheck expected;
};

class PictureLimitsTest : public testing::TestWithParam<LimitCase> {};

TEST_P(PictureLimitsTest, HeadersAreCheckedBeforeDecoding) {
    const LimitCase& c = GetParam();
    TestStation station("picture-limits");
    const QString path = station.filePath(QStringLiteral("claimed.") + c.format);
    const QByteArray bytes = craftedpictures::pictureClaiming(c.format, c.claimed);
    ASSERT_FALSE(bytes.isEmpty());
    ASSERT_LT(bytes.size(), 2000) << "a small file";
    ASSERT_TRUE(craftedpictures::writeFile(path, bytes));
    // The crafted header says what it claims.
    ASSERT_EQ(QImageReader(path).size(), c.claimed);

    QSize header;
    EXPECT_EQ(pictures::checkFile(path, &header), c.expected);
    EXPECT_EQ(header, c.claimed);
    SizeCheck check = SizeCheck::Fits;
    const QImage shown = pictures::loadForDisplay(path, &check);
    EXPECT_EQ(check, c.expected);
    if (c.expected == SizeCheck::TooLarge) {
        EXPECT_TRUE(shown.isNull());
    } else {
        // An ordinary picture (its header untouched) is decoded.
        EXPECT_EQ(shown.size(), c.claimed);
    }
}

INSTANTIATE_TEST_SUITE_P(Claims, PictureLimitsTest,
                         testing::Values(LimitCase{"png", {60000, 60000}, SizeCheck::TooLarge},
                                         LimitCase{"jpg", {60000, 60000}, SizeCheck::TooLarge},
                                         LimitCase{"tif", {60000, 60000}, SizeCheck::TooLarge},
                                         LimitCase{"png", {32768, 2}, SizeCheck::TooLarge},
                                         LimitCase{"tif", {2, 40000}, SizeCheck::TooLarge},
                                         LimitCase{"png", {10001, 10000}, SizeCheck::TooLarge},
                                         LimitCase{"jpg", {10000, 10001}, SizeCheck::TooLarge},
                                         LimitCase{"png", {8, 8}, SizeCheck::Fits},
                                         LimitCase{"jpg", {8, 8}, SizeCheck::Fits},
                                         LimitCase{"tif", {8, 8}, SizeCheck::Fits}));

TEST(PictureLimits, TheBoundsThemselvesFit) {
    EXPECT_TRUE(pictures::withinLimits({32767, 3051}));
    EXPECT_TRUE(pictures::withinLimits({10000, 10000}));
    EXPECT_FALSE(pictures::withinLimits({32767, 3052}));
    EXPECT_FALSE(pictures::withinLimits({1, 32768}));
}

TEST(PictureLimits, AFileThatIsNoPictureGivesANullPictureAndNoRefusal) {
    TestStation station("picture-limits-none");
    const QString path = station.filePath("notes.png");
    ASSERT_TRUE(craftedpictures::writeFile(path, "not a picture"));
    SizeCheck check = SizeCheck::TooLarge;
    EXPECT_TRUE(pictures::loadForDisplay(path, &check).isNull());
    EXPECT_EQ(check, SizeCheck::Fits);
    EXPECT_TRUE(pictures::loadForDisplay(station.filePath("missing.tif")).isNull());
}

TEST(PictureLimits, TheMessageNamesThePictures) {
    EXPECT_EQ(pictures::tooLargeMessage({"007.tif", "008.tif"}),
              "This picture is too large to be shown: 007.tif, 008.tif");
}

}  // namespace
