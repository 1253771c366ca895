#include "media/sdl_text.h"

#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>
#include <strings.h>

namespace {

bool impactInstalled() {
  FcPattern* want = FcNameParse(reinterpret_cast<const FcChar8*>("impact"));
  FcConfigSubstitute(nullptr, want, FcMatchPattern);
  FcDefaultSubstitute(want);
  FcResult result;
  FcPattern* match = FcFontMatch(nullptr, want, &result);
  FcChar8* family = nullptr;
  const bool found = match && FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch &&
                     strcasecmp(reinterpret_cast<const char*>(family), "impact") == 0;
  if (match) FcPatternDestroy(match);
  FcPatternDestroy(want);
  return found;
}

// White text on an opaque black box: every pixel a grey level, black and white both present.
void expectOpaqueBox(const Image& image) {
  ASSERT_FALSE(image.empty());
  ASSERT_EQ(image.pixels.size(), static_cast<size_t>(image.w) * image.h);
  bool black = false, white = false;
  for (const uint32_t p : image.pixels) {
    const uint32_t r = p >> 16, g = (p >> 8) & 0xFF, b = p & 0xFF;
    ASSERT_EQ(p >> 24, 0u);
    ASSERT_TRUE(r == g && g == b) << std::hex << p;
    black = black || p == 0;
    white = white || p == 0xFFFFFF;
  }
  EXPECT_TRUE(black);
  EXPECT_TRUE(white);
}

TEST(TextRenderer, ResultFontIsImpactOrAMarkedStandIn) {
  TextRenderer text;
  ASSERT_TRUE(text.loadFont(1, "impact", 100));
  EXPECT_EQ(text.isFallback(1), !impactInstalled());
  const Image image = text.render(1, "You win!");
  expectOpaqueBox(image);
  // 100 points at 96 dpi: about 133 pixels of line height.
  EXPECT_GE(image.h, 115);
  EXPECT_LE(image.h, 170);
  EXPECT_GT(image.w, image.h * 2);
}

TEST(TextRenderer, LatinOneTextRendersItsOwnGlyphs) {
  TextRenderer text;
  ASSERT_TRUE(text.loadFont(2, "DejaVu Sans", 40));
  const Image umlauts = text.render(2, "Gr\xFC\xDF");
  const Image ascii = text.render(2, "Gr");
  expectOpaqueBox(umlauts);
  expectOpaqueBox(ascii);
  EXPECT_GT(umlauts.w, ascii.w + 20);  // two more glyphs, not cut at the first high byte
}

TEST(TextRenderer, DefaultFontFitsTheDialLabels) {
  TextRenderer text;
  const Image label = text.render(TextRenderer::kDefaultFont, "30");
  expectOpaqueBox(label);
  EXPECT_GE(label.h, 10);
  EXPECT_LE(label.h, 20);
  EXPECT_LE(label.w, 24);
}

TEST(TextRenderer, UnknownFaceFallsBackAndStillRenders) {
  TextRenderer text;
  ASSERT_TRUE(text.loadFont(3, "Kein Solcher Schriftschnitt", 20));
  EXPECT_TRUE(text.isFallback(3));
  expectOpaqueBox(text.render(3, "Health: 100"));
  ASSERT_TRUE(text.loadFont(4, "DejaVu Sans", 20));
  EXPECT_FALSE(text.isFallback(4));
}

TEST(TextRenderer, NothingToRenderGivesAnEmptyImage) {
  TextRenderer text;
  EXPECT_TRUE(text.render(TextRenderer::kDefaultFont, "").empty());
  EXPECT_TRUE(text.render(9, "nie geladen").empty());
  EXPECT_FALSE(text.loadFont(5, "sans-serif", 0));
  EXPECT_TRUE(text.render(5, "x").empty());
}

TEST(TextRenderer, LoadingAgainReplacesTheFont) {
  TextRenderer text;
  ASSERT_TRUE(text.loadFont(6, "DejaVu Sans", 10));
  const int small = text.render(6, "Hallo").h;
  ASSERT_TRUE(text.loadFont(6, "DejaVu Sans", 30));
  EXPECT_GT(text.render(6, "Hallo").h, small * 2);
}

TEST(TextRenderer, RenderersComeAndGoIndependently) {
  auto first = std::make_unique<TextRenderer>();
  {
    TextRenderer second;
    EXPECT_FALSE(second.render(TextRenderer::kDefaultFont, "1").empty());
  }
  EXPECT_FALSE(first->render(TextRenderer::kDefaultFont, "1").empty());  // TTF still up
}

}  // namespace
