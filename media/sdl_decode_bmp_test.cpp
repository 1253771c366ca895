#include <gtest/gtest.h>

#include "media/sdl_decode.h"
#include "media/test_bitmap.h"

namespace {

// Odd width, so every row carries padding bytes; distinct colours show row order.
Image sample() {
  Image image(3, 2);
  image.at(0, 0) = 0x112233;
  image.at(1, 0) = 0xFFFFFF;
  image.at(2, 0) = 0x000001;
  image.at(0, 1) = 0xA0B0C0;
  image.at(1, 1) = 0x000000;
  image.at(2, 1) = 0x800000;
  return image;
}

TEST(DecodeBmp, BottomUpAndTopDownRowsComeOutTopFirstWithoutPadding) {
  for (bool topDown : {false, true}) {
    const std::vector<uint8_t> file = makeBmp24(sample(), topDown);
    const std::optional<Image> decoded = decodeBmp(file);
    ASSERT_TRUE(decoded) << "topDown " << topDown;
    EXPECT_EQ(decoded->w, 3);
    EXPECT_EQ(decoded->h, 2);
    EXPECT_EQ(decoded->pixels, sample().pixels) << "topDown " << topDown;
  }
}

TEST(DecodeBmp, UnreadableBytesGiveNothing) {
  const std::vector<uint8_t> file = makeBmp24(sample());
  const std::vector<uint8_t> headerOnly(file.begin(), file.begin() + 20);
  const std::vector<uint8_t> noise(200, 0x5A);
  EXPECT_FALSE(decodeBmp({}));
  EXPECT_FALSE(decodeBmp(headerOnly));
  EXPECT_FALSE(decodeBmp(noise));
}

}  // namespace
