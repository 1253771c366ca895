#include "media/change_finder.h"

#include <algorithm>
#include <cstring>

#include "media/row_compare.h"

void ChangeFinder::keep(const Image& image, std::span<const ScreenBox> boxes) {
  kept_.clear();
  for (const ScreenBox& b : boxes) {
    const int x0 = std::max(b.x, 0), y0 = std::max(b.y, 0);
    const auto x1 = static_cast<int>(std::min<int64_t>(int64_t{b.x} + b.w, image.w));
    const auto y1 = static_cast<int>(std::min<int64_t>(int64_t{b.y} + b.h, image.h));
    for (int y = y0; y < y1;) {
      const int end = std::min(y1, (y / kBand + 1) * kBand);
      if (x0 < x1) kept_.push_back({x0, y, x1 - x0, end - y});
      y = end;
    }
  }
  // Band by band from left to right; pieces of a band that overlap or touch become one, from
  // the highest top among them to the lowest bottom.
  sortByBandAndColumn();
  size_t merged = 0;
  for (size_t i = 0; i < kept_.size(); ++i) {
    const ScreenBox piece = kept_[i];
    ScreenBox* last = merged > 0 ? &kept_[merged - 1] : nullptr;
    if (last != nullptr && last->y / kBand == piece.y / kBand && piece.x <= last->x + last->w) {
      const int right = std::max(last->x + last->w, piece.x + piece.w);
      const int bottom = std::max(last->y + last->h, piece.y + piece.h);
      last->y = std::min(last->y, piece.y);
      last->w = right - last->x;
      last->h = bottom - last->y;
    } else {
      kept_[merged++] = piece;
    }
  }
  kept_.resize(merged);
  size_t total = 0;
  for (const ScreenBox& k : kept_) total += static_cast<size_t>(k.w) * k.h;
  if (pixels_.size() < total) pixels_.resize(total);  // never shrinks: no filling each frame
  uint32_t* to = pixels_.data();
  for (const ScreenBox& k : kept_) {
    for (int y = k.y; y < k.y + k.h; ++y, to += k.w) {
      std::memcpy(to, image.pixels.data() + static_cast<size_t>(y) * image.w + k.x,
                  sizeof(uint32_t) * k.w);
    }
  }
}

void ChangeFinder::compare(const Image& image, std::vector<ScreenBox>& out) {
  const uint32_t* was = pixels_.data();
  for (const ScreenBox& k : kept_) {
    const uint32_t* now = image.pixels.data() + static_cast<size_t>(k.y) * image.w + k.x;
    if (const auto box = differingBox(now, image.w, was, k.w, k)) out.push_back(*box);
    was += static_cast<size_t>(k.w) * k.h;
  }
  kept_.clear();
}

void ChangeFinder::sortByBandAndColumn() {
  // By one number each, worked out once, rather than two band numbers divided out in every
  // comparison of the sort.
  order_.clear();
  for (const ScreenBox& k : kept_) {
    order_.push_back({static_cast<uint64_t>(k.y / kBand) << 32 | static_cast<uint32_t>(k.x), k});
  }
  std::sort(order_.begin(), order_.end(),
            [](const Piece& a, const Piece& b) { return a.order < b.order; });
  for (size_t i = 0; i < order_.size(); ++i) kept_[i] = order_[i].box;
}
