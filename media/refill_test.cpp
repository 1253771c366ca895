// A sprite of one colour over the whole screen, drawn after a fill of that colour (the sea,
// every frame), rewrites only what was drawn since. Two Media on the headless backend, one
// refilling box by box and one filling the whole screen every time, go through the same random
// frames of every kind of drawing, wild values included, and must hold the same back buffer
// after every frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <functional>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "media/compositor.h"
#include "media/headless.h"
#include "media/media.h"
#include "media/test_bitmap.h"

namespace {

constexpr int kSea = 40, kOtherSea = 41, kLargeSea = 42, kPicture = 10, kShip = 11, kBall = 12;
constexpr int kTurnedShip = 0, kTurnedPicture = 1;
constexpr std::array<Rgb, 5> kPalette = {Rgb{1, 119, 254}, Rgb{0, 0, 0}, Rgb{255, 255, 255},
                                         Rgb{200, 30, 30}, Rgb{1, 119, 255}};
constexpr Rgb kSeaBlue = kPalette[0];

class Dice {
 public:
  explicit Dice(uint32_t seed) : random_(seed) {}

  int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  bool chance(double p) { return std::bernoulli_distribution(p)(random_); }
  template <class T, size_t N>
  T oneOf(const std::array<T, N>& list) {
    return list[static_cast<size_t>(between(0, static_cast<int>(N) - 1))];
  }
  Rgb colour() { return oneOf(kPalette); }
  uint32_t noise() { return random_() & 0xFEFEFE; }  // never white

  // Mostly on or near the screen, now and then right at an edge or far beyond all reason.
  int position(int limit) {
    if (chance(0.05)) return oneOf(std::array{INT_MIN, INT_MAX, -1000000, 1000000, INT_MIN / 2});
    if (chance(0.1)) return oneOf(std::array{-1, 0, limit - 1, limit});
    return between(-300, limit + 300);
  }
  int size() {
    if (chance(0.04)) return oneOf(std::array{INT_MIN, INT_MAX, -1000000, 1000000});
    return between(-300, 300);
  }
  float angle() {
    if (chance(0.3)) {
      return oneOf(std::array{0.0f, NAN, INFINITY, -INFINITY, 1e30f, -1e30f, 90.0f, 180.0f, -90.0f,
                              1e-7f, 360.0f});
    }
    return std::uniform_real_distribution<float>(-720, 720)(random_);
  }

 private:
  std::mt19937 random_;
};

// Noise on white (the key of the ships) with a white border and holes.
Image pictureOf(int w, int h, Dice& dice) {
  Image image(w, h, 0xFFFFFF);
  for (int y = 1; y + 1 < h; ++y) {
    for (int x = 1; x + 1 < w; ++x) {
      if (!dice.chance(0.1)) image.at(x, y) = dice.noise();
    }
  }
  return image;
}

// The sea anew as the battle makes it: a sprite filled on the sprite itself.
void makeSea(Media& media, int n, int w, int h, Rgb colour) {
  media.createSprite(n, w, h);
  media.beginDrawing(n);
  media.fillBox(0, 0, w, h, colour);
  media.endDrawing();
}

class Twins {
 public:
  Twins() {
    for (int i = 0; i < 2; ++i) {
      auto backend = std::make_unique<HeadlessBackend>();
      backends_[i] = backend.get();
      media_[i] = std::make_unique<Media>(std::move(backend), 1);
      media_[i]->initMedia();
      backends_[i]->keepFrameCopies(true);
    }
    media_[1]->repaintOnlyWhatChanged(false);
  }

  void both(const std::function<void(Media&)>& step) {
    step(*media_[0]);
    step(*media_[1]);
  }

  // Where the back buffers (as last shown) first differ; empty when they are the same.
  std::string difference() const {
    const std::vector<uint32_t>& a = backends_[0]->lastFrame().pixels;
    const std::vector<uint32_t>& b = backends_[1]->lastFrame().pixels;
    if (a == b) return "";
    if (a.size() != b.size()) return "frames of different sizes";
    const auto [at, other] = std::mismatch(a.begin(), a.end(), b.begin());
    const auto i = at - a.begin();
    std::ostringstream out;
    out << "pixel " << i % kScreenWidth << "," << i / kScreenWidth << ": " << std::hex << *at
        << " refilled, " << *other << " filled whole";
    return out.str();
  }

  std::string differenceAt(int x, int y) const {
    if (media_[0]->pixel(x, y) == media_[1]->pixel(x, y)) return "";
    return "pixel() at " + std::to_string(x) + "," + std::to_string(y);
  }

 private:
  std::array<HeadlessBackend*, 2> backends_{};
  std::array<std::unique_ptr<Media>, 2> media_;
};

// Random frames for two Media at once; `log` tells what the current frame did.
class Frames {
 public:
  explicit Frames(uint32_t seed) : dice_(seed), ship_(pictureOf(150, 150, dice_)) {
    picture_ = pictureOf(dice_.between(1, 60), dice_.between(1, 60), dice_);
    twins_.both([&](Media& m) {
      m.openBattleWindow(kScreenWidth, kScreenHeight);
      m.openBattleScreen();
      m.loadFont(0, "DejaVu Sans", 14);
      m.loadFont(1, "DejaVu Sans", 60);
    });
    loadSprites();
  }

  // Runs one frame; what went wrong, or empty.
  std::string run() {
    previous_ = log_.str();
    log_.str("");
    if (dice_.chance(0.15)) betweenFrames();
    if (dice_.chance(0.8)) clear();
    sea();
    openTarget();
    for (int n = dice_.between(0, 12); n > 0; --n) {
      if (std::string wrong = drawSomething(); !wrong.empty()) return wrong;
    }
    twins_.both([](Media& m) {
      m.endDrawing();
      m.showFrame();
    });
    return twins_.difference();
  }

  // What this frame and the one before did.
  std::string log() const { return previous_ + "| " + log_.str(); }

 private:
  void loadSprites() {
    const Rgb seaColour = seaColour_;
    const std::vector<uint8_t> ship = makeBmp24(ship_), picture = makeBmp24(picture_);
    twins_.both([&](Media& m) {
      makeSea(m, kSea, kScreenWidth, kScreenHeight, seaColour);
      makeSea(m, kOtherSea, kScreenWidth, kScreenHeight, kPalette[3]);
      makeSea(m, kLargeSea, kScreenWidth + 30, kScreenHeight + 20, seaColour);
      m.loadSprite(kShip, ship, true);
      m.setTransparentColour(kShip, {255, 255, 255});
      m.loadSprite(kPicture, picture, true);
      m.setTransparentColour(kPicture, {255, 255, 255});
      m.loadSprite(kBall, makeBmp24(Image(3, 3, 0x101010)), false);
    });
    twins_.both([](Media& m) {
      m.createRotatable(kTurnedShip, kShip);
      m.createRotatable(kTurnedPicture, kPicture);
    });
  }

  void betweenFrames() {
    switch (dice_.between(0, 6)) {
      case 0: {  // a stroke on the sea sprite, or all of it in a new colour
        const bool all = dice_.chance(0.5);
        const int x = all ? 0 : dice_.position(kScreenWidth), y = all ? 0 : dice_.position(100);
        const int w = all ? kScreenWidth : dice_.size(), h = all ? kScreenHeight : dice_.size();
        const Rgb c = dice_.colour();
        log_ << "onto the sea " << x << "," << y << " " << w << "x" << h << "; ";
        twins_.both([&](Media& m) {
          m.beginDrawing(kSea);
          m.fillBox(x, y, w, h, c);
          m.endDrawing();
        });
        break;
      }
      case 1: {  // the sea made anew, in the same colour or another
        seaColour_ = dice_.colour();
        log_ << "new sea; ";
        twins_.both([&](Media& m) { makeSea(m, kSea, kScreenWidth, kScreenHeight, seaColour_); });
        break;
      }
      case 2: {  // the sea loaded from a picture, now and then with one pixel astray
        Image sea(kScreenWidth, kScreenHeight, dice_.chance(0.5) ? 0x0177FE : 0x0177FF);
        if (dice_.chance(0.3)) sea.at(dice_.between(0, kScreenWidth - 1), 7) = 0x123456;
        const std::vector<uint8_t> bmp = makeBmp24(sea);
        log_ << "sea loaded; ";
        twins_.both([&](Media& m) { m.loadSprite(kSea, bmp, false); });
        break;
      }
      case 3:
        log_ << "sprites released and loaded; ";
        twins_.both([](Media& m) { m.release(MediaService::ScreenAndSprites); });
        if (dice_.chance(0.8)) loadSprites();
        break;
      case 4:
        log_ << "battle screen reopened; ";
        twins_.both([](Media& m) {
          m.closeBattleWindow();
          m.openBattleWindow(kScreenWidth, kScreenHeight);
          m.openBattleScreen();
        });
        break;
      case 5: {
        const Rgb key = dice_.chance(0.5) ? Rgb{255, 255, 255} : dice_.colour();
        log_ << "new key; ";
        twins_.both([&](Media& m) { m.setTransparentColour(kShip, key); });
        break;
      }
      default: {  // a picture that changes under its turned drawing
        const int x = dice_.between(0, 60), y = dice_.between(0, 60);
        const Rgb c = dice_.colour();
        log_ << "onto the picture; ";
        twins_.both([&](Media& m) {
          m.beginDrawing(kPicture);
          m.fillCircle(x, y, 5, c);
          m.endDrawing();
        });
        break;
      }
    }
  }

  void clear() {
    const Rgb c = dice_.colour();
    log_ << "clear; ";
    twins_.both([&](Media& m) { m.clearScreen(c); });
  }

  void sea() {
    const int which = dice_.between(0, 19);
    if (which < 15) {
      log_ << "sea; ";
      twins_.both([](Media& m) { m.drawSprite(kSea, 0, 0); });
    } else if (which < 17) {
      log_ << "other sea; ";
      twins_.both([](Media& m) { m.drawSprite(kOtherSea, 0, 0); });
    } else if (which < 19) {
      const int x = -dice_.between(0, 30), y = -dice_.between(0, 20);
      log_ << "large sea " << x << "," << y << "; ";
      twins_.both([&](Media& m) { m.drawSprite(kLargeSea, x, y); });
    }
  }

  void openTarget() {
    const int which = dice_.between(0, 9);
    log_ << "target " << which << "; ";
    twins_.both([which](Media& m) {
      if (which < 8) {
        m.beginDrawing();
      } else if (which == 8) {
        m.beginDrawing(kPicture);
      } else {
        m.endDrawing();
      }
    });
  }

  std::string drawSomething() {
    const int x = dice_.position(kScreenWidth), y = dice_.position(kScreenHeight);
    const Rgb c = dice_.colour();
    switch (dice_.between(0, 11)) {
      case 0: {
        const int n = dice_.chance(0.5) ? kPicture : kShip;
        log_ << "sprite " << n << " " << x << "," << y << "; ";
        twins_.both([&](Media& m) { m.drawSprite(n, x, y); });
        break;
      }
      case 1: {
        const int n = dice_.chance(0.5) ? kPicture : kShip;
        log_ << "keyed " << n << " " << x << "," << y << "; ";
        twins_.both([&](Media& m) { m.drawTransparentSprite(n, x, y); });
        break;
      }
      case 2: {  // a sea that misses part of the screen, or all of it
        const int sx = dice_.between(-40, 40), sy = dice_.chance(0.5) ? 0 : dice_.position(100);
        const int n = dice_.chance(0.5) ? kSea : kOtherSea;
        log_ << "sea " << n << " at " << sx << "," << sy << "; ";
        twins_.both([&](Media& m) { m.drawSprite(n, sx, sy); });
        break;
      }
      case 3:
      case 4: {
        const int r = dice_.chance(0.7) ? kTurnedShip : kTurnedPicture;
        const float angle = dice_.angle();
        log_ << "turned " << r << " " << angle << " " << x << "," << y << "; ";
        twins_.both([&](Media& m) {
          m.setRotation(r, angle, false);
          m.drawRotatable(r, x, y);
        });
        break;
      }
      case 5: {
        const int w = dice_.size(), h = dice_.size();
        log_ << "box " << x << "," << y << " " << w << "x" << h << "; ";
        twins_.both([&](Media& m) { m.fillBox(x, y, w, h, c); });
        break;
      }
      case 6: {
        const int w = dice_.size(), h = dice_.size();
        const int rx = dice_.between(-5, 40), ry = dice_.between(-5, 40);
        log_ << "round box " << x << "," << y << " " << w << "x" << h << "; ";
        twins_.both([&](Media& m) { m.fillRoundBox(x, y, w, h, rx, ry, c); });
        break;
      }
      case 7: {
        const int r = dice_.chance(0.05) ? oneWild() : dice_.between(-10, 150);
        log_ << "circle " << x << "," << y << " " << r << "; ";
        twins_.both([&](Media& m) { m.fillCircle(x, y, r, c); });
        break;
      }
      case 8: {
        const char* text = dice_.oneOf(
            std::array{"Health: 100", "30", "You lose!", "Player 1 Wins!", "\xC4rger \xFC"});
        const int font = dice_.between(-1, 2);
        log_ << "text " << font << " " << x << "," << y << "; ";
        twins_.both([&](Media& m) {
          m.useFont(font);
          m.drawText(x, y, text);
        });
        break;
      }
      case 10: {  // cannonballs, a few of them cut by an edge
        std::vector<Point> balls(static_cast<size_t>(dice_.between(0, 300)));
        for (Point& p : balls) {
          p = dice_.chance(0.9)
                  ? Point{dice_.between(-3, kScreenWidth), dice_.between(-3, kScreenHeight)}
                  : Point{dice_.position(kScreenWidth), dice_.position(kScreenHeight)};
        }
        const int n = dice_.chance(0.9) ? kBall : kPicture;
        log_ << balls.size() << " balls " << n << "; ";
        twins_.both([&](Media& m) { m.drawTransparentSprites(n, balls); });
        break;
      }
      case 9: {  // carried out by whatever draws next, or read through pixel()
        if (!dice_.chance(0.3)) break;
        log_ << "clear; ";
        twins_.both([&](Media& m) { m.clearScreen(c); });
        break;
      }
      default:
        for (int i = 0; i < 8; ++i) {
          const int px = dice_.between(0, kScreenWidth - 1),
                    py = dice_.between(0, kScreenHeight - 1);
          if (std::string wrong = twins_.differenceAt(px, py); !wrong.empty()) return wrong;
        }
        break;
    }
    return "";
  }

  int oneWild() { return dice_.oneOf(std::array{INT_MAX, INT_MIN, 1000000, -1}); }

  Dice dice_;
  Twins twins_;
  Image ship_, picture_;
  Rgb seaColour_ = kSeaBlue;
  std::ostringstream log_;
  std::string previous_;
};

TEST(Refill, TheSeaRefilledBoxByBoxIsTheSeaFilledWhole) {
  for (const uint32_t seed : {1u, 2u, 3u}) {
    Frames frames(seed);
    for (int frame = 0; frame < 150; ++frame) {
      const std::string wrong = frames.run();
      ASSERT_EQ(wrong, "") << "seed " << seed << ", frame " << frame << ": " << frames.log();
    }
  }
}

}  // namespace
