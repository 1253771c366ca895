#include "media/media.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "basis/latin1.h"
#include "media/compositor.h"
#include "media/headless.h"
#include "media/sdl_text.h"
#include "media/test_bitmap.h"

namespace {

constexpr Rgb kBlue{1, 119, 254};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kRed{255, 0, 0};

// A Media over a headless backend that the test keeps a hand on.
struct Rig {
  explicit Rig(uint32_t randomSeed = 7) {
    auto owned = std::make_unique<HeadlessBackend>();
    backend = owned.get();
    media = std::make_unique<Media>(std::move(owned), randomSeed);
  }
  HeadlessBackend* backend;
  std::unique_ptr<Media> media;
};

struct Box {
  int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
  bool operator==(const Box&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Box& b) {
  return out << "x " << b.left << ".." << b.right << ", y " << b.top << ".." << b.bottom;
}

// The bounding box of back-buffer pixels that are not `background`.
Box drawnBox(const Media& media, Rgb background) {
  Box box;
  for (int y = 0; y < kScreenHeight; ++y) {
    for (int x = 0; x < kScreenWidth; ++x) {
      if (media.pixel(x, y) == background) continue;
      box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x),
             std::max(box.bottom, y)};
    }
  }
  return box;
}

// The speed needle: 150 x 5, red on a black key, as the battle loads it.
void loadNeedle(Media& media, int sprite, int rotatable) {
  ASSERT_TRUE(media.loadSprite(sprite, makeBmp24(Image(150, 5, 0xFF0000)), true));
  ASSERT_TRUE(media.createRotatable(rotatable, sprite));
}

TEST(MediaStart, ReportsTheFirstServiceThatFails) {
  using F = HeadlessBackend::Failures;
  const std::vector<std::pair<F, MediaInit>> cases = {
      {F{}, MediaInit::Ok},
      {F{.screen = true, .keyboard = true, .sound = true}, MediaInit::ScreenFailed},
      {F{.keyboard = true, .sound = true}, MediaInit::KeyboardFailed},
      {F{.sound = true}, MediaInit::SoundFailed},
      {F{.audioDevice = true}, MediaInit::Ok},  // no device: silent, not a failure
  };
  for (const auto& [failures, expected] : cases) {
    Rig rig;
    rig.backend->failures() = failures;
    EXPECT_EQ(rig.media->initMedia(), expected);
  }
}

TEST(MediaSprites, EachSpriteHasItsOwnTransparentColour) {
  Rig rig;
  Image art(3, 2, 0xFFFFFF);
  art.at(0, 0) = 0x102030;
  ASSERT_TRUE(rig.media->loadSprite(5, makeBmp24(art), false));
  ASSERT_TRUE(rig.media->loadSprite(6, makeBmp24(art), false));
  rig.media->setTransparentColour(5, {255, 255, 255});
  rig.media->clearScreen(kBlue);
  rig.media->drawTransparentSprite(5, 0, 0);
  rig.media->drawTransparentSprite(6, kScreenWidth - 2, kScreenHeight - 1);  // black key
  EXPECT_EQ(rig.media->pixel(0, 0), (Rgb{0x10, 0x20, 0x30}));
  EXPECT_EQ(rig.media->pixel(1, 0), kBlue);
  EXPECT_EQ(rig.media->pixel(kScreenWidth - 1, kScreenHeight - 1), (Rgb{255, 255, 255}));
  EXPECT_EQ(rig.media->pixel(kScreenWidth, 0), kBlack);  // outside reads black
}

TEST(MediaSprites, CreateSpriteRefusesSenselessSizes) {
  Rig rig;
  EXPECT_TRUE(rig.media->createSprite(1, 1, 1));
  EXPECT_FALSE(rig.media->createSprite(2, 0, 10));
  EXPECT_FALSE(rig.media->createSprite(2, 10, -1));
  EXPECT_FALSE(rig.media->createSprite(2, 100000, 10));
  EXPECT_FALSE(rig.media->createSprite(2, INT_MAX, INT_MAX));
  EXPECT_FALSE(rig.media->createRotatable(3, 1));  // not loaded as rotatable
  EXPECT_FALSE(rig.media->createRotatable(3, 99));
  EXPECT_FALSE(rig.media->loadSprite(4, std::vector<uint8_t>(10, 0), true));
}

TEST(MediaSprites, OverlapIgnoresAnglesAndHonoursEachSpritesKey) {
  Rig rig;
  Image left(4, 4, 0xFFFFFF), right(4, 4, 0x000000);
  left.at(3, 3) = 0x808080;
  right.at(0, 0) = 0x808080;
  ASSERT_TRUE(rig.media->loadSprite(1, makeBmp24(left), true));
  ASSERT_TRUE(rig.media->loadSprite(2, makeBmp24(right), false));
  rig.media->setTransparentColour(1, {255, 255, 255});
  ASSERT_TRUE(rig.media->createRotatable(9, 1));
  rig.media->setRotation(9, 45, false);
  EXPECT_TRUE(rig.media->spritesOverlap(1, 0, 0, 2, 3, 3));
  EXPECT_FALSE(rig.media->spritesOverlap(1, 0, 0, 2, 2, 2));  // only transparent pixels meet
  EXPECT_FALSE(rig.media->spritesOverlap(1, 0, 0, 2, 4, 0));  // touching edges
  EXPECT_FALSE(rig.media->spritesOverlap(1, 0, 0, 7, 0, 0));  // no sprite 7
}

TEST(MediaSprites, LoadingUnderAUsedNumberReplacesTheSprite) {
  Rig rig;
  ASSERT_TRUE(rig.media->loadSprite(5, makeBmp24(Image(4, 4, 0xFF0000)), false));
  ASSERT_TRUE(rig.media->loadSprite(5, makeBmp24(Image(2, 3, 0x00FF00)), false));
  rig.media->clearScreen(kBlue);
  rig.media->drawSprite(5, 10, 20);
  EXPECT_EQ(drawnBox(*rig.media, kBlue), (Box{10, 20, 11, 22}));
  EXPECT_EQ(rig.media->pixel(10, 20), (Rgb{0, 255, 0}));
}

TEST(MediaRotation, AnglesAddUpAndAreNeverReduced) {
  Rig rig;
  loadNeedle(*rig.media, 48, 50);
  EXPECT_EQ(rig.media->rotation(50), 0.0f);
  for (int i = 0; i < 3; ++i) rig.media->setRotation(50, 10, true);
  EXPECT_EQ(rig.media->rotation(50), 30.0f);
  rig.media->setRotation(50, 360.4f, false);
  EXPECT_EQ(rig.media->rotation(50), 360.4f);
  rig.media->setRotation(50, 360.4f, true);
  EXPECT_EQ(rig.media->rotation(50), 360.4f + 360.4f);
  rig.media->setRotation(51, 5, false);  // unknown: nothing happens
  EXPECT_EQ(rig.media->rotation(51), 0.0f);
}

TEST(MediaRotation, NeedleAtExactlyZeroIsDrawnUnturnedAtItsCorner) {
  Rig rig;
  loadNeedle(*rig.media, 48, 49);
  rig.media->clearScreen(kBlue);
  rig.media->drawRotatable(49, 1590, 960);
  EXPECT_EQ(drawnBox(*rig.media, kBlue), (Box{1590, 960, 1679, 964}));  // x to 1739, clipped
  rig.media->clearScreen(kBlue);
  rig.media->drawRotatable(49, -60, 960);
  EXPECT_EQ(drawnBox(*rig.media, kBlue), (Box{0, 960, 89, 964}));
  EXPECT_EQ(rig.media->pixel(89, 964), kRed);
}

TEST(MediaRotation, TurnedNeedleIsCentredByItsHorizontalHalfSize) {
  Rig rig;
  loadNeedle(*rig.media, 48, 50);
  rig.media->setRotation(50, -180, false);
  rig.media->clearScreen(kBlue);
  rig.media->drawRotatable(50, -60, 960);
  // Centred at (14.5, 1034.5): x -60 to 89, clipped at the left edge.
  EXPECT_EQ(drawnBox(*rig.media, kBlue), (Box{0, 1032, 89, 1036}));
  for (int y = 1032; y <= 1036; ++y) {
    for (int x = 0; x <= 89; ++x) ASSERT_EQ(rig.media->pixel(x, y), kRed) << x << "," << y;
  }
}

TEST(MediaRotation, TallPictureLandsHigherWhenTurned) {
  Rig rig;
  ASSERT_TRUE(rig.media->loadSprite(4, makeBmp24(Image(15, 75, 0xFFFF00)), true));
  ASSERT_TRUE(rig.media->createRotatable(53, 4));
  rig.media->setRotation(53, 180, false);
  rig.media->clearScreen(kBlue);
  rig.media->drawRotatable(53, 500, 500);
  // Centre (507, 507) instead of (507, 537): thirty rows higher than unturned.
  EXPECT_EQ(drawnBox(*rig.media, kBlue), (Box{500, 470, 514, 544}));
}

TEST(MediaRotation, SquarePictureKeepsItsPlaceAndIsClippedAtEveryEdge) {
  Rig rig;
  ASSERT_TRUE(rig.media->loadSprite(32, makeBmp24(Image(150, 150, 0x804020)), true));
  ASSERT_TRUE(rig.media->createRotatable(0, 32));
  rig.media->setRotation(0, 90, false);
  rig.media->clearScreen(kBlue);
  rig.media->drawRotatable(0, 200, 300);
  EXPECT_EQ(drawnBox(*rig.media, kBlue), (Box{200, 300, 349, 449}));
  rig.media->clearScreen(kBlue);
  rig.media->drawRotatable(0, -100, 1000);
  EXPECT_EQ(drawnBox(*rig.media, kBlue), (Box{0, 1000, 49, 1049}));
  rig.media->clearScreen(kBlue);
  rig.media->drawRotatable(0, 1600, -120);
  EXPECT_EQ(drawnBox(*rig.media, kBlue), (Box{1600, 0, 1679, 29}));
  rig.media->clearScreen(kBlue);
  rig.media->setRotation(0, 33, false);
  for (int p : {INT_MIN, INT_MAX, -260, kScreenWidth + 100}) {
    rig.media->drawRotatable(0, p, 0);
    rig.media->drawRotatable(0, 0, p);
  }
  EXPECT_EQ(drawnBox(*rig.media, kBlue), Box{});
}

TEST(MediaDrawing, ShapesGoOnlyToTheOpenTarget) {
  Rig rig;
  rig.media->clearScreen(kBlue);
  rig.media->fillBox(0, 0, 10, 10, kRed);  // no drawing open
  rig.media->fillCircle(5, 5, 3, kRed);
  rig.media->fillRoundBox(0, 0, 10, 10, 2, 2, kRed);
  rig.media->drawText(0, 0, "Health: 100");
  EXPECT_EQ(drawnBox(*rig.media, kBlue), Box{});

  ASSERT_TRUE(rig.media->createSprite(40, 4, 4));
  EXPECT_FALSE(rig.media->beginDrawing(41));
  ASSERT_TRUE(rig.media->beginDrawing(40));
  rig.media->fillBox(0, 0, 4, 4, kRed);
  rig.media->fillBox(1, 1, 2, 2, {9, 9, 9});
  rig.media->endDrawing();
  EXPECT_EQ(drawnBox(*rig.media, kBlue), Box{});  // the sprite, not the screen
  rig.media->drawSprite(40, 10, 20);
  EXPECT_EQ(rig.media->pixel(10, 20), kRed);
  EXPECT_EQ(rig.media->pixel(11, 21), (Rgb{9, 9, 9}));
}

TEST(MediaDrawing, TextIsTheRenderersBoxCopiedAtTheCornerWithAnyUnknownFontAsDefault) {
  Rig rig;
  const Image expected = TextRenderer().render(TextRenderer::kDefaultFont, "30");
  rig.media->clearScreen(kBlue);
  ASSERT_TRUE(rig.media->beginDrawing());
  rig.media->useFont(12);  // never loaded
  rig.media->drawText(10, 956, "30");
  rig.media->drawText(-40, 1040, "Health: 100");  // partly off screen
  rig.media->drawText(INT_MAX, INT_MIN, "0");
  rig.media->endDrawing();
  for (int y = 0; y < expected.h; ++y) {
    for (int x = 0; x < expected.w; ++x) {
      const uint32_t p = expected.at(x, y);
      ASSERT_EQ(rig.media->pixel(10 + x, 956 + y),
                (Rgb{uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)}));
    }
  }
  if (!expected.empty()) {
    EXPECT_EQ(rig.media->pixel(10 + expected.w, 956), kBlue);
  }
}

TEST(MediaDrawing, EveryOpeningStartsWithTheDefaultFont) {
  const Image expected = TextRenderer().render(TextRenderer::kDefaultFont, "30");
  ASSERT_FALSE(expected.empty());
  for (bool ontoSprite : {false, true}) {
    Rig rig;
    ASSERT_TRUE(rig.media->loadFont(0, "DejaVu Sans", 40));
    ASSERT_TRUE(rig.media->createSprite(40, 200, 100));
    ASSERT_TRUE(rig.media->beginDrawing());
    rig.media->useFont(0);
    rig.media->endDrawing();
    rig.media->clearScreen(kBlue);
    ASSERT_TRUE(ontoSprite ? rig.media->beginDrawing(40) : rig.media->beginDrawing());
    rig.media->fillBox(0, 0, 200, 100, kBlue);
    rig.media->drawText(0, 0, "30");
    rig.media->endDrawing();
    if (ontoSprite) rig.media->drawSprite(40, 0, 0);
    EXPECT_EQ(drawnBox(*rig.media, kBlue), (Box{0, 0, expected.w - 1, expected.h - 1}))
        << ontoSprite;
  }
}

// rx is the corners' horizontal radius, ry their vertical one: a wide, flat corner leaves
// more of the top row empty than of the left column, a tall, narrow one the opposite.
TEST(MediaDrawing, RoundBoxCornersTakeTheirWidthFromRxAndTheirHeightFromRy) {
  for (bool wide : {true, false}) {
    Rig rig;
    rig.media->clearScreen(kBlue);
    ASSERT_TRUE(rig.media->beginDrawing());
    rig.media->fillRoundBox(100, 100, 40, 40, wide ? 12 : 3, wide ? 3 : 12, kRed);
    rig.media->endDrawing();
    int topRowEmpty = 0, leftColumnEmpty = 0;
    while (topRowEmpty < 40 && rig.media->pixel(100 + topRowEmpty, 100) != kRed) ++topRowEmpty;
    while (leftColumnEmpty < 40 && rig.media->pixel(100, 100 + leftColumnEmpty) != kRed) {
      ++leftColumnEmpty;
    }
    EXPECT_EQ(topRowEmpty > leftColumnEmpty, wide) << topRowEmpty << " " << leftColumnEmpty;
  }
}

// ----- what Media keeps between calls must never show a stale picture

// The whole back buffer as an Image, for comparing with a drawing made by hand.
Image screenOf(const Media& media) {
  Image image(kScreenWidth, kScreenHeight);
  for (int y = 0; y < kScreenHeight; ++y) {
    for (int x = 0; x < kScreenWidth; ++x) {
      const Rgb p = media.pixel(x, y);
      image.at(x, y) = packRgb(p.r, p.g, p.b);
    }
  }
  return image;
}

Image stripes(uint32_t a, uint32_t b) {
  Image image(150, 150, 0xFFFFFF);
  for (int y = 20; y < 140; ++y) {
    for (int x = 50; x < 100; ++x) image.at(x, y) = (x / 3 + y / 5) % 2 ? a : b;
  }
  return image;
}

TEST(MediaReuse, TurnedPictureFollowsEveryChangeOfItsSprite) {
  Rig rig;
  Image picture = stripes(0x804020, 0x203040);
  uint32_t key = 0xFFFFFF;
  const auto expectDrawn = [&](const char* after) {
    rig.media->clearScreen(kBlue);
    rig.media->drawRotatable(0, 200, 300);
    Image expected(kScreenWidth, kScreenHeight, packRgb(1, 119, 254));
    drawTurned(expected, picture, key, 274.5, 374.5, 33.3f);
    EXPECT_EQ(screenOf(*rig.media).pixels, expected.pixels) << after;
  };
  ASSERT_TRUE(rig.media->loadSprite(32, makeBmp24(picture), true));
  rig.media->setTransparentColour(32, {255, 255, 255});
  ASSERT_TRUE(rig.media->createRotatable(0, 32));
  rig.media->setRotation(0, 33.3f, false);
  expectDrawn("first drawing");
  expectDrawn("second drawing");

  picture = stripes(0x00A000, 0x0000A0);  // every battle loads its sprites again
  ASSERT_TRUE(rig.media->loadSprite(32, makeBmp24(picture), true));
  rig.media->setTransparentColour(32, {255, 255, 255});
  expectDrawn("a reload");

  key = 0x00A000;
  rig.media->setTransparentColour(32, {0, 0xA0, 0});
  expectDrawn("a new transparent colour");

  ASSERT_TRUE(rig.media->beginDrawing(32));
  rig.media->fillBox(60, 30, 20, 40, {0x12, 0x34, 0x56});
  rig.media->endDrawing();
  for (int y = 30; y < 70; ++y) {
    for (int x = 60; x < 80; ++x) picture.at(x, y) = 0x123456;
  }
  expectDrawn("drawing onto the sprite");
}

TEST(MediaReuse, TextFollowsAReloadedFont) {
  Rig rig;
  TextRenderer renderer;
  ASSERT_TRUE(renderer.loadFont(0, "DejaVu Sans", 40));
  const Image large = renderer.render(0, "30");
  ASSERT_FALSE(large.empty());
  ASSERT_TRUE(rig.media->loadFont(0, "DejaVu Sans", 10));
  ASSERT_TRUE(rig.media->beginDrawing());
  rig.media->useFont(0);
  rig.media->drawText(0, 0, "30");
  ASSERT_TRUE(rig.media->loadFont(0, "DejaVu Sans", 40));
  rig.media->clearScreen(kBlue);
  rig.media->drawText(0, 0, "30");
  EXPECT_EQ(drawnBox(*rig.media, kBlue), (Box{0, 0, large.w - 1, large.h - 1}));
  for (int y = 0; y < large.h; ++y) {
    for (int x = 0; x < large.w; ++x) {
      const Rgb p = rig.media->pixel(x, y);
      ASSERT_EQ(packRgb(p.r, p.g, p.b), large.at(x, y)) << x << "," << y;
    }
  }
  // A reload that fails leaves font 0 without a face: nothing of the old text may show.
  EXPECT_FALSE(rig.media->loadFont(0, "DejaVu Sans", 0));
  rig.media->clearScreen(kBlue);
  rig.media->drawText(0, 0, "30");
  rig.media->endDrawing();
  EXPECT_EQ(drawnBox(*rig.media, kBlue), Box{});
}

TEST(MediaReuse, AClearShowsWhereverTheFirstDrawingLeavesTheScreen) {
  Rig rig;
  rig.backend->keepFrameCopies(true);
  ASSERT_TRUE(rig.media->createSprite(40, kScreenWidth, kScreenHeight));
  ASSERT_TRUE(rig.media->beginDrawing(40));
  rig.media->fillBox(0, 0, kScreenWidth, kScreenHeight, kRed);
  rig.media->fillBox(10, 10, 5, 5, kBlack);  // the sprite's transparent colour
  rig.media->endDrawing();

  rig.media->clearScreen(kBlue);
  EXPECT_EQ(rig.media->pixel(700, 500), kBlue);
  rig.media->showFrame();
  EXPECT_EQ(rig.backend->lastFrame().pixels,
            std::vector<uint32_t>(kScreenWidth * kScreenHeight, packRgb(1, 119, 254)));

  rig.media->drawSprite(40, 0, 0);
  rig.media->clearScreen(kBlue);
  rig.media->drawSprite(40, 1, 0);  // one column short of the screen
  for (int y : {0, 500, kScreenHeight - 1}) {
    EXPECT_EQ(rig.media->pixel(0, y), kBlue);
    EXPECT_EQ(rig.media->pixel(1, y), kRed);
  }
  rig.media->clearScreen(kBlue);
  rig.media->drawTransparentSprite(40, 0, 0);  // the key shows the clear
  EXPECT_EQ(drawnBox(*rig.media, kRed), (Box{10, 10, 14, 14}));
  rig.media->clearScreen(kBlue);
  rig.media->drawSprite(40, -1, 0);
  rig.media->drawSprite(40, 0, 0);  // the whole screen, over the clear
  EXPECT_EQ(rig.media->pixel(12, 12), kBlack);
  EXPECT_EQ(drawnBox(*rig.media, kRed), (Box{10, 10, 14, 14}));
  rig.media->clearScreen(kBlue);
  ASSERT_TRUE(rig.media->beginDrawing());
  rig.media->fillCircle(0, 0, 3, kRed);
  rig.media->endDrawing();
  EXPECT_EQ(drawnBox(*rig.media, kBlue), (Box{0, 0, 3, 3}));
}

TEST(MediaReuse, ASeaOfOneColourFollowsEveryChange) {
  Rig rig;
  const auto fillSea = [&](int x, int y, int w, int h, Rgb colour) {
    ASSERT_TRUE(rig.media->beginDrawing(40));
    rig.media->fillBox(x, y, w, h, colour);
    rig.media->endDrawing();
  };
  ASSERT_TRUE(rig.media->createSprite(40, kScreenWidth, kScreenHeight));
  fillSea(0, 0, kScreenWidth, kScreenHeight, kBlue);
  rig.media->clearScreen(kRed);
  rig.media->drawSprite(40, 0, 0);
  EXPECT_EQ(drawnBox(*rig.media, kBlue), Box{});

  fillSea(5, 6, 2, 3, kRed);
  rig.media->drawSprite(40, 0, 0);
  EXPECT_EQ(drawnBox(*rig.media, kBlue), (Box{5, 6, 6, 8}));

  fillSea(0, 0, kScreenWidth, kScreenHeight, kRed);
  rig.media->drawSprite(40, 0, 0);
  EXPECT_EQ(drawnBox(*rig.media, kRed), Box{});

  ASSERT_TRUE(rig.media->createSprite(40, kScreenWidth + 10, kScreenHeight));  // new, black
  rig.media->drawSprite(40, -5, 0);
  EXPECT_EQ(drawnBox(*rig.media, kBlack), Box{});
}

// Balls handed over in one call land where each alone would, cut by every edge, whether they
// come first, follow the sea or go over a picture already shown.
TEST(MediaDrawing, ManyKeyedCopiesInACallAreEachACopyAtItsPlace) {
  Rig rig;
  Image ball(4, 3, 0x102030);
  ball.at(0, 0) = 0xFFFFFF;  // the key
  ASSERT_TRUE(rig.media->loadSprite(33, makeBmp24(ball), false));
  rig.media->setTransparentColour(33, {255, 255, 255});
  const std::vector<Point> places = {
      {-4, 5},      {-3, 5},   {-1, -1},  {0, 0},       {700, 500},         {700, 500}, {1677, 9},
      {1676, 1047}, {1680, 3}, {5, 1050}, {INT_MIN, 0}, {INT_MAX, INT_MAX}, {800, -2}};
  const auto expected = [&](uint32_t under) {
    Image screen(kScreenWidth, kScreenHeight, under);
    for (const Point& p : places) copyImageKeyed(screen, ball, p.x, p.y, 0xFFFFFF);
    return screen.pixels;
  };
  rig.media->drawTransparentSprites(33, places);  // the first drawings, on the black of the start
  rig.media->showFrame();
  EXPECT_EQ(screenOf(*rig.media).pixels, expected(0)) << "at the start";
  rig.media->drawTransparentSprites(33, places);  // over a shown picture
  rig.media->showFrame();
  EXPECT_EQ(screenOf(*rig.media).pixels, expected(0)) << "over a shown picture";
  for (int frame = 0; frame < 2; ++frame) {
    rig.media->clearScreen(kBlue);
    rig.media->drawTransparentSprites(33, places);
    rig.media->showFrame();
    EXPECT_EQ(screenOf(*rig.media).pixels, expected(packRgb(1, 119, 254))) << "frame " << frame;
  }
  // Some painted at once (a pixel is read), more after them; then all of them left behind by a
  // new picture, those painted included.
  const std::span<const Point> all(places);
  rig.media->clearScreen(kBlue);
  rig.media->drawTransparentSprites(33, all.first(4));
  EXPECT_EQ(rig.media->pixel(1, 1), Rgb(0x10, 0x20, 0x30));
  rig.media->drawTransparentSprites(33, all.subspan(4));
  rig.media->showFrame();
  EXPECT_EQ(screenOf(*rig.media).pixels, expected(packRgb(1, 119, 254))) << "in two parts";
  rig.media->drawTransparentSprites(33, all.first(4));
  EXPECT_EQ(rig.media->pixel(1, 1), Rgb(0x10, 0x20, 0x30));
  rig.media->drawTransparentSprites(33, places);  // never shown: the clear covers them
  rig.media->clearScreen(kBlue);
  rig.media->drawTransparentSprites(33, {});
  rig.media->showFrame();
  EXPECT_EQ(drawnBox(*rig.media, kBlue), Box{});
}

// What was drawn over a shown picture but never shown is gone once a new picture begins, also
// where the new one is repainted only in part.
TEST(MediaReuse, DrawingsNeverShownLeaveNoTraceInTheNextPicture) {
  Rig rig;
  const auto redBox = [&](int x, int y, int w, int h) {
    ASSERT_TRUE(rig.media->beginDrawing());
    rig.media->fillBox(x, y, w, h, kRed);
    rig.media->endDrawing();
  };
  rig.media->clearScreen(kBlue);
  redBox(100, 100, 40, 40);
  rig.media->showFrame();
  redBox(300, 300, 40, 40);  // a large drawing and a small one, never shown
  redBox(500, 500, 4, 4);
  rig.media->clearScreen(kBlue);
  redBox(100, 100, 40, 40);
  redBox(300, 300, 40, 40);  // now shown: it must be painted
  rig.media->showFrame();
  EXPECT_EQ(drawnBox(*rig.media, kBlue), (Box{100, 100, 339, 339}));
  EXPECT_EQ(rig.media->pixel(320, 320), kRed);
  EXPECT_EQ(rig.media->pixel(501, 501), kBlue);
}

// 16-bit mono PCM at the headless device's rate, every sample `level`.
std::vector<uint8_t> constantWav(int16_t level, int frames) {
  std::vector<uint8_t> out{'R', 'I', 'F', 'F'};
  putLittleEndian(out, 36 + 2 * frames, 4);
  for (char c : std::string("WAVEfmt ")) out.push_back(static_cast<uint8_t>(c));
  putLittleEndian(out, 16, 4);
  putLittleEndian(out, 1, 2);
  putLittleEndian(out, 1, 2);
  putLittleEndian(out, HeadlessBackend::kAudioFormat.rate, 4);
  putLittleEndian(out, HeadlessBackend::kAudioFormat.rate * 2, 4);
  putLittleEndian(out, 2, 2);
  putLittleEndian(out, 16, 2);
  for (char c : std::string("data")) out.push_back(static_cast<uint8_t>(c));
  putLittleEndian(out, 2 * frames, 4);
  for (int i = 0; i < frames; ++i) putLittleEndian(out, static_cast<uint16_t>(level), 2);
  return out;
}

int peakOfNextFrames(HeadlessBackend& backend, int frames) {
  std::vector<int16_t> out(static_cast<size_t>(frames) * HeadlessBackend::kAudioFormat.channels);
  backend.renderAudio(out.data(), frames);
  int peak = 0;
  for (int16_t s : out) peak = std::max(peak, std::abs(int{s}));
  return peak;
}

TEST(MediaSound, EveryStartIsRecordedAndVolumeIsClampedInTheMix) {
  Rig rig;
  ASSERT_EQ(rig.media->initMedia(), MediaInit::Ok);
  ASSERT_TRUE(rig.media->loadSound(1, constantWav(8000, 4000)));
  EXPECT_FALSE(rig.media->loadSound(2, std::vector<uint8_t>(44, 0)));
  for (int volume : {150, -5, 0}) {
    rig.media->playSound(1, volume);
    EXPECT_EQ(peakOfNextFrames(*rig.backend, 100), volume > 0 ? 8000 : 0) << volume;
    peakOfNextFrames(*rig.backend, 4000);  // let it end
  }
  rig.media->playSound(1, 50);
  rig.media->playSound(1, 50);  // overlapping playbacks add up
  EXPECT_EQ(peakOfNextFrames(*rig.backend, 100), 8000);
  rig.media->playSound(9, 100);  // never loaded
  const std::vector<std::pair<int, int>> expected = {{1, 150}, {1, -5}, {1, 0},
                                                     {1, 50},  {1, 50}, {9, 100}};
  EXPECT_EQ(rig.backend->soundsPlayed(), expected);
  EXPECT_EQ(rig.backend->audioLockDepth(), 0);
  // Loaded again, and another sound of the same length: each sounds as its own bytes say.
  peakOfNextFrames(*rig.backend, 4000);
  ASSERT_TRUE(rig.media->loadSound(1, constantWav(8000, 4000)));
  ASSERT_TRUE(rig.media->loadSound(2, constantWav(2000, 4000)));
  for (const auto& [sound, peak] : {std::pair{1, 8000}, std::pair{2, 2000}, std::pair{1, 8000}}) {
    rig.media->playSound(sound, 100);
    EXPECT_EQ(peakOfNextFrames(*rig.backend, 100), peak) << sound;
    peakOfNextFrames(*rig.backend, 4000);
  }
}

TEST(MediaSound, WithoutADeviceSoundsAreCheckedRecordedAndSilent) {
  Rig rig;
  rig.backend->failures().audioDevice = true;
  ASSERT_EQ(rig.media->initMedia(), MediaInit::Ok);
  EXPECT_TRUE(rig.media->loadSound(1, constantWav(8000, 100)));
  EXPECT_FALSE(rig.media->loadSound(2, std::vector<uint8_t>(44, 0)));
  rig.media->playSound(1, 100);
  EXPECT_EQ(rig.backend->soundsPlayed().size(), 1u);
  EXPECT_EQ(peakOfNextFrames(*rig.backend, 100), 0);
}

TEST(MediaKeyboard, ReleaseIsReportedOnceAndOnlyAfterAPress) {
  Rig rig;
  HeadlessBackend& keys = *rig.backend;
  rig.media->pollKeyboard();
  EXPECT_FALSE(rig.media->keyReleased(Key::Escape));  // never pressed
  keys.setKey(Key::Escape, true);
  keys.setKey(Key::B, true);
  rig.media->pollKeyboard();
  EXPECT_TRUE(rig.media->keyDown(Key::Escape));
  EXPECT_FALSE(rig.media->keyReleased(Key::Escape));  // still held
  keys.setKey(Key::Escape, false);
  keys.setKey(Key::B, false);
  EXPECT_TRUE(rig.media->keyDown(Key::Escape));  // until the next snapshot
  rig.media->pollKeyboard();
  EXPECT_TRUE(rig.media->keyReleased(Key::Escape));
  EXPECT_FALSE(rig.media->keyReleased(Key::Escape));
  // B was not asked about while held, so its release goes unnoticed.
  EXPECT_FALSE(rig.media->keyReleased(Key::B));
  EXPECT_FALSE(rig.media->keyDown(static_cast<Key>(99)));
}

TEST(MediaKeyboard, EachKeyDrivesOneControlOfOnePlayer) {
  struct Case {
    Key key;
    int spieler;
    bool Steuerung::*feld;
  };
  const Case cases[] = {
      {Key::W, 0, &Steuerung::Beschleunigen},
      {Key::S, 0, &Steuerung::Bremsen},
      {Key::A, 0, &Steuerung::Links},
      {Key::D, 0, &Steuerung::Rechts},
      {Key::V, 0, &Steuerung::FeuerLinks},
      {Key::B, 0, &Steuerung::FeuerRechts},
      {Key::Up, 1, &Steuerung::Beschleunigen},
      {Key::Down, 1, &Steuerung::Bremsen},
      {Key::Left, 1, &Steuerung::Links},
      {Key::Right, 1, &Steuerung::Rechts},
      {Key::Keypad1, 1, &Steuerung::FeuerLinks},
      {Key::Keypad2, 1, &Steuerung::FeuerRechts},
  };
  for (const Case& c : cases) {
    Rig rig;
    rig.backend->setKey(c.key, true);
    rig.media->pollKeyboard();
    Steuerung erwartet;
    erwartet.*c.feld = true;
    EXPECT_EQ(rig.media->steuerung(c.spieler), erwartet) << static_cast<int>(c.key);
    EXPECT_EQ(rig.media->steuerung(1 - c.spieler), Steuerung{}) << static_cast<int>(c.key);
  }
  Rig rig;
  rig.backend->setKey(Key::Return, true);
  rig.backend->setKey(Key::Escape, true);
  rig.media->pollKeyboard();
  EXPECT_EQ(rig.media->steuerung(0), Steuerung{});
  EXPECT_EQ(rig.media->steuerung(1), Steuerung{});
  EXPECT_EQ(rig.media->steuerung(2), Steuerung{});
  EXPECT_EQ(rig.media->steuerung(-1), Steuerung{});
}

TEST(MediaRandom, CoversTheWholeRangeEvenlyAndRepeatsForOneStartValue) {
  Rig rig(12345);
  std::vector<int> counts(7, 0);
  for (int i = 0; i < 7000; ++i) {
    const int value = rig.media->randomInt(6);
    ASSERT_GE(value, 0);
    ASSERT_LE(value, 6);
    ++counts[static_cast<size_t>(value)];
  }
  for (int c : counts) EXPECT_NEAR(c, 1000, 150);
  EXPECT_EQ(rig.media->randomInt(0), 0);
  EXPECT_EQ(rig.media->randomInt(-5), 0);
  EXPECT_GE(rig.media->randomInt(INT_MAX), 0);
  Rig again(12345), other(12345);
  std::vector<int> first, second;
  for (int i = 0; i < 20; ++i) {
    first.push_back(again.media->randomInt(1000));
    second.push_back(other.media->randomInt(1000));
  }
  EXPECT_EQ(first, second);
}

TEST(MediaFrames, NeverFasterThanSixtyPerSecond) {
  Rig rig;
  for (int i = 0; i < 10; ++i) rig.media->showFrame();
  EXPECT_EQ(rig.backend->framesPresented(), 10);
  EXPECT_GE(rig.backend->nowMicros(), 9u * 16600);
  EXPECT_LE(rig.backend->nowMicros(), 9u * 16667 + 1000);
}

TEST(MediaFrames, SlowFramesAreNotDelayedFurther) {
  Rig rig;
  rig.backend->setPresentCostMicros(20000);
  for (int i = 0; i < 20; ++i) rig.media->showFrame();
  EXPECT_EQ(rig.backend->sleptMicros(), 0u);
  // Back to quick frames: paced again from here, with no burst to catch up.
  rig.backend->setPresentCostMicros(0);
  const uint64_t start = rig.backend->nowMicros();
  for (int i = 0; i < 10; ++i) rig.media->showFrame();
  EXPECT_GE(rig.backend->nowMicros() - start, 9u * 16600);
}

// A loop that pauses 5 ms between frames waits out the pacing in that pause: one sleep a frame,
// frames still a 60th of a second apart, and never less than the pause asked for.
TEST(MediaFrames, APauseBetweenFramesTakesTheirPacing) {
  Rig rig;
  rig.media->showFrame();
  for (int i = 0; i < 10; ++i) {
    rig.media->sleepMs(5);
    rig.media->showFrame();
  }
  EXPECT_EQ(rig.backend->sleeps(), 10);
  EXPECT_GE(rig.backend->nowMicros(), 9u * 16600);  // the first frame begins the schedule
  EXPECT_LE(rig.backend->nowMicros(), 9u * 16667 + 5000);
  rig.backend->setPresentCostMicros(20000);
  rig.media->showFrame();
  const uint64_t slept = rig.backend->sleptMicros();
  rig.media->sleepMs(5);
  EXPECT_EQ(rig.backend->sleptMicros() - slept, 5000u);
}

// Frames simulated a second time change nothing a player sees or hears, yet turn and collide.
TEST(MediaSilent, DrawsPlaysShowsAndWaitsForNothingButStillTurnsAndCollides) {
  Rig rig;
  Media& m = *rig.media;
  ASSERT_EQ(m.initMedia(), MediaInit::Ok);
  ASSERT_TRUE(m.createSprite(3, 10, 10));
  loadNeedle(m, 5, 6);
  m.clearScreen(kBlue);
  m.showFrame();
  const uint64_t slept = rig.backend->sleptMicros();
  rig.backend->queueEvents(1);
  m.setSilent(true);
  m.clearScreen(kRed);
  m.drawSprite(3, 0, 0);
  m.drawTransparentSprite(5, 100, 100);
  m.setRotation(6, 90, false);
  m.drawRotatable(6, 300, 300);
  EXPECT_FALSE(m.beginDrawing());
  m.fillBox(0, 0, 50, 50, kRed);
  m.drawText(0, 0, "Kaperfahrt");
  m.endDrawing();
  m.playSound(1, 100);
  m.sleepMs(100);
  EXPECT_FALSE(m.pollWindowEvent());
  m.showFrame();
  EXPECT_EQ(rig.backend->framesPresented(), 1);
  EXPECT_EQ(rig.backend->sleptMicros(), slept);
  EXPECT_TRUE(rig.backend->soundsPlayed().empty());
  EXPECT_EQ(drawnBox(m, kBlue), Box{});
  EXPECT_EQ(m.rotation(6), 90.0f);
  EXPECT_TRUE(m.spritesOverlap(5, 0, 0, 5, 149, 4));
  m.setSilent(false);
  EXPECT_TRUE(m.pollWindowEvent());
  m.drawTransparentSprite(5, 100, 100);
  EXPECT_EQ(drawnBox(m, kBlue), (Box{100, 100, 249, 104}));
}

// The edges of both halves of Latin-1: ASCII passes, 0x80 and 0xFF take two bytes.
TEST(Latin1, BecomesUtf8) {
  EXPECT_EQ(latin1ToUtf8("\x7F\x80\xFF"), "\x7F\xC2\x80\xC3\xBF");
  EXPECT_EQ(latin1ToUtf8(std::string_view("a\0b", 3)), std::string("a\0b", 3));
}

// Every Latin-1 text comes back whole; beyond it only the ellipsis is kept, as three dots;
// a broken sequence is not read past the end.
TEST(Latin1, FromUtf8) {
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  EXPECT_EQ(utf8ToLatin1(latin1ToUtf8(all)), all);
  EXPECT_EQ(utf8ToLatin1("Der Mitspieler überlegt … €😀"),
            "Der Mitspieler \xFC"
            "berlegt ... ??");
  EXPECT_EQ(utf8ToLatin1("a\xE2\x80"), "a\xE2\x80");
}

}  // namespace
