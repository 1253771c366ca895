// What an image holds as far as a fill of one colour needs to know: the colour it was last
// filled with all over, and the boxes drawn into since. Filling it with that colour again (the
// sea, every frame) then rewrites only those boxes, a fraction of the 7 MB back buffer.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "media/image.h"

class DirtyBoxes {
 public:
  DirtyBoxes(int w, int h) : w_(w), h_(h) {}

  // The whole image now has this colour.
  void filledWith(uint32_t colour);
  // Drawing may have changed pixels in [x, x + w) x [y, y + h); any values, clipped here.
  void drawn(int64_t x, int64_t y, int64_t w, int64_t h);
  // Drawing may have changed any pixel.
  void drawnAnywhere();
  // Makes every pixel of `image` (the w x h one this keeps track of) `colour`: only the
  // boxes drawn since the last fill when that fill had the same colour.
  void fill(Image& image, uint32_t colour);
  // Off: every fill is a whole one, to compare with.
  void enable(bool on);

 private:
  struct Box {
    int x, y, w, h;
  };

  int w_, h_;
  bool enabled_ = true;
  // Unknown, or more drawn since than refilling box by box would be worth.
  std::optional<uint32_t> base_;
  std::vector<Box> boxes_;
  int64_t cost_ = 0;
};
