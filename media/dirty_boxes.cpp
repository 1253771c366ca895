#include "media/dirty_boxes.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "media/compositor.h"

namespace {

// Four pixels a store: the compiler does not vectorise a fill loop of unknown length at -O2,
// and a call to memset or memcpy costs more than the few pixels of a ball's row. A row of two
// to four (a ball's) is two overlapping stores of two, without a loop.
void fillRow(uint32_t* to, int count, const std::array<uint32_t, 4>& four) {
  if (count >= 2 && count <= 4) {
    std::memcpy(to, four.data(), 2 * sizeof(uint32_t));
    std::memcpy(to + count - 2, four.data(), 2 * sizeof(uint32_t));
    return;
  }
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

void DirtyBoxes::drawnAnywhere() {
  changedAnywhere_ = true;
  base_.reset();
  boxes_.clear();
  cost_ = 0;
}

void DirtyBoxes::fill(Image& image, uint32_t colour) {
  if (enabled_ && base_ == colour && image.w == w_ && image.h == h_) {
    for (const Box& b : boxes_) fillRows(image, b.x, b.y, b.w, b.h, colour);
    if (!changedAnywhere_) refilled_.insert(refilled_.end(), boxes_.begin(), boxes_.end());
    if (refilled_.size() > kMaxChangedBoxes) changedAnywhere_ = true;
  } else {
    fillImage(image, colour);
    changedAnywhere_ = true;
  }
  if (changedAnywhere_) refilled_.clear();
  filledWith(colour);
}

void DirtyBoxes::enable(bool on) {
  enabled_ = on;
  drawnAnywhere();
}

FrameChanges DirtyBoxes::takeChanges() {
  FrameChanges changes{changedAnywhere_, {}};
  if (!changedAnywhere_) {
    refilled_.insert(refilled_.end(), boxes_.begin(), boxes_.end());
    changes.boxes = refilled_;
  }
  changedAnywhere_ = false;
  // Emptied on the next call, not now: the caller reads the boxes until then.
  shown_.swap(refilled_);
  refilled_.clear();
  return changes;
}
