#include "launcher/jpeg_picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "assets/embedded.h"
#include "launcher/font_match.h"

namespace {

TEST(DecodeJpeg, TheTitlePictureIsAColourPictureOfItsSize) {
  const std::optional<RgbPicture> picture = decodeJpeg(embeddedFile("title.jpg"));
  ASSERT_TRUE(picture.has_value());
  EXPECT_EQ(picture->width, 500);
  EXPECT_EQ(picture->height, 361);
  ASSERT_EQ(picture->rgb.size(), 500u * 361u * 3u);
  const auto [low, high] = std::minmax_element(picture->rgb.begin(), picture->rgb.end());
  EXPECT_LT(*low, *high) << "a picture of one flat colour";
}

TEST(DecodeJpeg, DamagedDataGivesNoPictureAndNoCrash) {
  const std::span<const uint8_t> title = embeddedFile("title.jpg");
  EXPECT_FALSE(decodeJpeg({}).has_value());
  const std::vector<uint8_t> notJpeg(1000, 0x42);
  EXPECT_FALSE(decodeJpeg(notJpeg).has_value());
  EXPECT_FALSE(decodeJpeg(title.first(20)).has_value());
  // Cut in the middle of the picture data: libjpeg fills the rest and warns; that is a
  // picture, if a grey-bottomed one.
  const std::optional<RgbPicture> cut = decodeJpeg(title.first(title.size() / 2));
  ASSERT_TRUE(cut.has_value());
  EXPECT_EQ(cut->height, 361);
}

TEST(MatchFontFamily, ArialFindsItsMetricCompatibleFace) {
  EXPECT_EQ(matchFontFamily("arial"), "Liberation Sans");
  EXPECT_EQ(matchFontFamily("Arial"), "Liberation Sans");
}

}  // namespace
