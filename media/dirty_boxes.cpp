#include "media/dirty_boxes.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "media/compositor.h"

namespace {

// What a box costs beyond its pixels, counted in pixels of a whole fill; and how much of a
// whole fill refilling box by box may cost before the whole fill is the cheaper one.
constexpr int64_t kCostPerBox = 64;
constexpr int64_t kWorthOfWholeFill = 2;  // half the image

// Four pixels a store: the compiler does not vectorise a fill loop of unknown length at -O2,
// and a call to memset or memcpy costs more than the few pixels of a ball's row.
void fillRow(uint32_t* to, int count, const std::array<uint32_t, 4>& four) {
  int i = 0;
  for (; i + 4 <= count; i += 4) std::memcpy(to + i, four.data(), sizeof four);
  for (; i < count; ++i) to[i] = four[0];
}

void fillRows(Image& image, int x, int y, int w, int h, uint32_t colour) {
  const std::array<uint32_t, 4> four = {colour, colour, colour, colour};
  uint32_t* first = &image.at(x, y);
  for (int row = 0; row < h; ++row) fillRow(first + ptrdiff_t{row} * image.w, w, four);
}

}  // namespace

void DirtyBoxes::filledWith(uint32_t colour) {
  base_ = colour;
  boxes_.clear();
  cost_ = 0;
}

void DirtyBoxes::drawn(int64_t x, int64_t y, int64_t w, int64_t h) {
  if (!base_) return;
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

void DirtyBoxes::drawnAnywhere() {
  base_.reset();
  boxes_.clear();
  cost_ = 0;
}

void DirtyBoxes::fill(Image& image, uint32_t colour) {
  if (enabled_ && base_ == colour && image.w == w_ && image.h == h_) {
    for (const Box& b : boxes_) fillRows(image, b.x, b.y, b.w, b.h, colour);
  } else {
    fillImage(image, colour);
  }
  filledWith(colour);
}

void DirtyBoxes::enable(bool on) {
  enabled_ = on;
  drawnAnywhere();
}
