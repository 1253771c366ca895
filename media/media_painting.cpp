// The back buffer's drawings carried out, as the scene asks.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "media/media_impl.h"

void Media::Impl::draw(Drawing drawing, int64_t x, int64_t y, int64_t w, int64_t h,
                       std::string_view text, std::span<const ScreenBox> outline) {
  drawing.box = scene.onScreen(x, y, w, h);
  // Opaque over every pixel: what was drawn before is gone.
  const bool covers =
      (drawing.kind == Drawing::Kind::Fill || drawing.kind == Drawing::Kind::Copy) && x <= 0 &&
      y <= 0 && x + w >= kScreenWidth && y + h >= kScreenHeight;
  scene.add(drawing, text, covers, outline);
}

void Media::Impl::paint(const Drawing& d, std::string_view text, std::span<const ScreenBox> clips) {
  Image& back = backBuffer;
  const auto each = [&clips](auto&& drawClipped) {
    for (const ScreenBox& c : clips) drawClipped(PixelBox{c.x, c.y, c.w, c.h});
  };
  // The clips lie on the screen; one colour over all of each restores the sea under the balls.
  const auto fillsEveryClip = [&clips](int64_t x, int64_t y, int64_t w, int64_t h) {
    return std::all_of(clips.begin(), clips.end(), [&](const ScreenBox& c) {
      return x <= c.x && y <= c.y && x + w >= int64_t{c.x} + c.w && y + h >= int64_t{c.y} + c.h;
    });
  };
  const auto fillClips = [&](uint32_t colour) {
    static_assert(sizeof(ScreenBox) == sizeof(PixelBox));
    fillBoxesOnImage(back, {reinterpret_cast<const PixelBox*>(clips.data()), clips.size()}, colour);
  };
  if (d.kind == Drawing::Kind::Fill) {
    if (fillsEveryClip(d.x, d.y, d.w, d.h)) {
      fillClips(d.colour);
      return;
    }
    each([&](const PixelBox& c) { ::fillBox(back, d.x, d.y, d.w, d.h, d.colour, c); });
  } else if (d.kind == Drawing::Kind::RoundBox) {
    each([&](const PixelBox& c) {
      ::fillRoundBox(back, d.x, d.y, d.w, d.h, d.rx, d.ry, d.colour, c);
    });
  } else if (d.kind == Drawing::Kind::Circle) {
    each([&](const PixelBox& c) { ::fillCircle(back, d.x, d.y, d.w, d.colour, c); });
  } else if (d.kind == Drawing::Kind::KeyedCopies) {
    return;  // painted by paintCopies alone, which has their boxes
  } else if (d.kind == Drawing::Kind::Text) {
    if (!this->text) return;
    const Image& box = textCache.box(*this->text, d.source, text);
    each([&](const PixelBox& c) { copyImage(back, box, d.x, d.y, c); });
  } else {
    Sprite* s = sprite(d.source);
    if (s == nullptr || s->version != d.version) return;
    const Image& picture = s->image;
    if (d.kind == Drawing::Kind::Copy) {
      // Such as the sea, one colour all over: filling reads nothing, copying reads it all.
      if (const std::optional<uint32_t>& colour = s->soleColourReady()) {
        if (fillsEveryClip(d.x, d.y, picture.w, picture.h)) {
          fillClips(*colour);
          return;
        }
        each([&](const PixelBox& c) {
          ::fillBox(back, d.x, d.y, picture.w, picture.h, *colour, c);
        });
      } else {
        each([&](const PixelBox& c) { copyImage(back, picture, d.x, d.y, c); });
      }
    } else if (d.kind == Drawing::Kind::KeyedCopy) {
      each([&](const PixelBox& c) { copyImageKeyed(back, picture, d.x, d.y, s->key, c); });
    } else {
      turnClips.clear();
      for (const ScreenBox& c : clips) turnClips.push_back({c.x, c.y, c.w, c.h});
      // The horizontal half-size places the centre on both axes.
      const double half = (picture.w - 1) / 2.0;
      drawTurned(back, s->turnReady(), s->turned, d.x + half, d.y + half, d.angle, turnClips);
    }
  }
}

void Media::Impl::paintCopies(const Drawing& d, std::span<const ScreenBox> boxes) {
  Sprite* s = sprite(d.source);
  if (s == nullptr || s->version != d.version) return;
  // Such as the game's cannonball, opaque all over in one colour: the boxes filled.
  if (const std::optional<uint32_t>& colour = s->soleColourReady();
      colour && !isKey(*colour, s->key)) {
    const auto boxOf = [boxes](size_t i) {
      return PixelBox{boxes[i].x, boxes[i].y, boxes[i].w, boxes[i].h};
    };
    fillBoxesOnImage(backBuffer, boxes.size(), boxOf, *colour);
    return;
  }
  const std::span<const Sprite::Dot> dots = s->dotsReady(backBuffer.w);
  uint32_t* const pixels = backBuffer.pixels.data();
  for (size_t i = 0; i < boxes.size(); ++i) {
    if (i + kFetchAhead < boxes.size()) {
      const ScreenBox& ahead = boxes[i + kFetchAhead];
      fetchRowsFor(pixels, backBuffer.w, {ahead.x, ahead.y, ahead.w, ahead.h});
    }
    uint32_t* corner = pixels + static_cast<ptrdiff_t>(boxes[i].y) * backBuffer.w + boxes[i].x;
    for (const Sprite::Dot& dot : dots) dot.drawAt(corner);
  }
}
