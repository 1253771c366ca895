// A sprite of the media services and a turnable one: the picture with all that is made from
// it for drawing, each made on first use and forgotten when the picture changes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "media/compositor.h"
#include "media/image.h"

struct Sprite {
  explicit Sprite(Image picture, bool canTurn = false)
      : image(std::move(picture)), rotatable(canTurn) {}

  Image image;
  uint32_t key = 0;  // transparent colour
  bool rotatable = false;
  // Told apart from every other picture and every earlier state of this one: drawings of the
  // back buffer are compared by it.
  uint64_t version = 0;
  // The picture made ready for turned drawing, its turned drawings kept by angle, and the
  // colour of all its pixels if they share one, each made on first use and forgotten when
  // the picture changes.
  std::unique_ptr<const TurnSource> turnSource;
  TurnCache turned;
  std::optional<std::optional<uint32_t>> colourOfAll;
  // A small picture's opaque pixels, one or two side by side, each with its place counted
  // from the corner on an image `stride` pixels wide: a cannonball is drawn by a handful of
  // stores.
  struct Dot {
    ptrdiff_t at = 0;
    bool two = false;
    uint32_t value[2] = {0, 0};

    void drawAt(uint32_t* corner) const {
      if (two) {
        std::memcpy(corner + at, value, sizeof value);
      } else {
        corner[at] = value[0];
      }
    }
  };
  std::optional<std::vector<Dot>> dots;

  const TurnSource& turnReady() {
    if (!turnSource) turnSource = std::make_unique<const TurnSource>(image, key);
    return *turnSource;
  }

  const std::optional<uint32_t>& soleColourReady() {
    if (!colourOfAll) colourOfAll = soleColour(image);
    return *colourOfAll;
  }

  const std::vector<Dot>& dotsReady(int stride) {
    if (!dots) {
      dots.emplace();
      for (int y = 0; y < image.h; ++y) {
        for (int x = 0; x < image.w; ++x) {
          const uint32_t p = image.at(x, y);
          if (isKey(p, key)) continue;
          Dot* left = dots->empty() ? nullptr : &dots->back();
          if (left != nullptr && !left->two && left->at == ptrdiff_t{y} * stride + x - 1) {
            left->two = true;
            left->value[1] = p;
          } else {
            dots->push_back({ptrdiff_t{y} * stride + x, false, {p, 0}});
          }
        }
      }
    }
    return *dots;
  }

  void pictureChanges(uint64_t newVersion) {
    turnSource.reset();
    turned.clear();
    colourOfAll.reset();
    dots.reset();
    version = newVersion;
  }
};

struct Rotatable {
  int sprite = 0;
  float angle = 0;
};
