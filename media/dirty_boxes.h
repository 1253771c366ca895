// What an image holds as far as a fill of one colour needs to know: the colour it was last
// filled with all over, and the boxes drawn into since. Filling it with that colour again (the
// sea, every frame) then rewrites only those boxes, a fraction of the 7 MB back buffer. It
// also knows which pixels changed since the frame was last shown: the boxes refilled and
// the boxes drawn, so that showing a frame need not look at the rest.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "media/backend.h"
#include "media/image.h"

class DirtyBoxes {
 public:
  DirtyBoxes(int w, int h) : w_(w), h_(h) {}

  // The whole image now has this colour.
  void filledWith(uint32_t colour);
  // Drawing may have changed pixels in [x, x + w) x [y, y + h), clipped here. Told of every
  // ball, so it is kept inline.
  void drawn(int64_t x, int64_t y, int64_t w, int64_t h) {
    if (!base_) {
      changedAnywhere_ = true;
      return;
    }
    const int64_t left = std::clamp<int64_t>(x, 0, w_);
    const int64_t top = std::clamp<int64_t>(y, 0, h_);
    const int64_t right = std::clamp<int64_t>(x + std::max<int64_t>(w, 0), 0, w_);
    const int64_t bottom = std::clamp<int64_t>(y + std::max<int64_t>(h, 0), 0, h_);
    if (left >= right || top >= bottom) return;
    cost_ += (right - left) * (bottom - top) + kCostPerBox;
    if (cost_ > int64_t{w_} * h_ / kWorthOfWholeFill) {
      drawnAnywhere();
      return;
    }
    boxes_.push_back({static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                      static_cast<int>(bottom - top)});
  }
  // Drawing may have changed any pixel.
  void drawnAnywhere();
  // Makes every pixel of `image` (the w x h one this keeps track of) `colour`: only the
  // boxes drawn since the last fill when that fill had the same colour.
  void fill(Image& image, uint32_t colour);
  // Off: every fill is a whole one, to compare with.
  void enable(bool on);
  // What changed since the last call (everything at first), in the boxes' own storage:
  // valid until the next call of anything else.
  FrameChanges takeChanges();

 private:
  using Box = ScreenBox;
  // What a box costs beyond its pixels, counted in pixels of a whole fill; and how much of a
  // whole fill refilling box by box may cost before the whole fill is the cheaper one.
  static constexpr int64_t kCostPerBox = 64;
  static constexpr int64_t kWorthOfWholeFill = 2;  // half the image

  int w_, h_;
  bool enabled_ = true;
  // Unknown, or more drawn since than refilling box by box would be worth.
  std::optional<uint32_t> base_;
  std::vector<Box> boxes_;
  int64_t cost_ = 0;
  // Changed since takeChanges: everything, or the boxes refilled (and boxes_ as well).
  bool changedAnywhere_ = true;
  std::vector<ScreenBox> refilled_;
  std::vector<ScreenBox> shown_;  // what the last takeChanges handed out
  // Beyond this many boxes between two shown frames, "everything" says it more cheaply.
  static constexpr size_t kMaxChangedBoxes = 16384;
};
