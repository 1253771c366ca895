#include "media/frame_scaler.h"

#include <emmintrin.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "media/row_compare.h"

FrameScaler::FrameScaler(Size src, Size dst)
    : src_(src),
      dst_(dst),
      columns_(samples(src.w, dst.w)),
      rows_(samples(src.h, dst.h)),
      firstColumn_(firstTargets(columns_, src.w)),
      firstRow_(firstTargets(rows_, src.h)),
      tilesX_((src.w + kTileW - 1) / kTileW),
      tilesY_((src.h + kTileH - 1) / kTileH),
      tiles_(static_cast<size_t>(tilesX_) * tilesY_),
      // Room for three pixels past the end: the passes work four pixels at a time.
      upper_(static_cast<size_t>(dst.w + 4) * 4),
      lower_(static_cast<size_t>(dst.w + 4) * 4) {
  columns_.insert(columns_.end(), 3, columns_.back());  // what the pixels past the end read
  for (const Sample& c : columns_) {
    leftWeights_.insert(leftWeights_.end(), 4, static_cast<int16_t>(256 - c.weight));
    rightWeights_.insert(rightWeights_.end(), 4, static_cast<int16_t>(c.weight));
  }
}

// Pixel centres aligned: window index d samples source position (d + 0.5) * from / to - 0.5,
// in whole numbers (twice that times `to`) so that no rounding of a double can creep in.
// Positions before the first pixel take the first; the last pixel is reached as the second
// of a pair, so that no sample reads past the frame.
std::vector<FrameScaler::Sample> FrameScaler::samples(int from, int to) {
  std::vector<Sample> out(static_cast<size_t>(to));
  const int64_t den = 2 * int64_t{to};
  for (int d = 0; d < to; ++d) {
    const int64_t num = (2 * int64_t{d} + 1) * from - to;
    Sample s{0, 0};
    if (num > 0) {
      s.first = static_cast<int>(num / den);
      s.weight = static_cast<int>((num % den * 256 + den / 2) / den);
      if (s.weight == 256) s = {s.first + 1, 0};
    }
    if (s.first >= from - 1) s = {from - 2, 256};
    out[static_cast<size_t>(d)] = s;
  }
  return out;
}

std::vector<int> FrameScaler::firstTargets(const std::vector<Sample>& samples, int from) {
  std::vector<int> first(static_cast<size_t>(from) + 1);
  size_t d = 0;
  for (int s = 0; s <= from; ++s) {
    while (d < samples.size() && samples[d].first < s) ++d;
    first[static_cast<size_t>(s)] = static_cast<int>(d);
  }
  return first;
}

const std::vector<ScreenBox>& FrameScaler::scale(const uint32_t* frame, const FrameChanges& changes,
                                                 uint32_t* window, int pitch) {
  rects_.clear();
  // The first frame is scaled whole, and so is one to be compared when the frame kept for
  // that is out of date.
  const bool compared = !changes.compared && (!identity() || !changes.mostlyNew);
  if (changes.everything || !scaledOnce_ || (compared && !haveShown_)) {
    scaledOnce_ = true;
    rects_.push_back({0, 0, dst_.w, dst_.h});
    shown_.assign(frame, frame + static_cast<size_t>(src_.w) * src_.h);
    haveShown_ = true;
  } else if (!identity()) {
    // Stretching costs several times what comparing does, and even boxes said to be mostly
    // new hold much that is as it was (a ship that moved less than a pixel): only the pixels
    // that differ, with their neighbours' fringe, are scaled.
    if (changes.compared) {
      changed_.assign(changes.boxes.begin(), changes.boxes.end());
      haveShown_ = false;  // the frame kept to compare with is now out of date
    } else {
      unite(changes.boxes, false);
      keepOnlyWhatDiffers(frame);
    }
    markTiles(changed_);
    gatherRects();
    unite(changed_, true);
    for (const Area& a : areas_) {
      const auto at = [](const std::vector<int>& first, int s) {
        return first[static_cast<size_t>(s)];
      };
      const int x0 = at(firstColumn_, a.x0), x1 = at(firstColumn_, a.x1);
      const int y0 = at(firstRow_, a.y0), y1 = at(firstRow_, a.y1);
      if (x0 < x1 && y0 < y1) scaleRect(frame, window, pitch, {x0, y0, x1 - x0, y1 - y0});
    }
    return rects_;
  } else if (changes.mostlyNew || changes.compared) {
    // The same size copies whole tiles: comparing first would cost as much as copying.
    markTiles(changes.boxes);
    gatherRects();
    haveShown_ = false;  // the frame kept to compare with is now out of date
  } else {
    markTiles(changes.boxes);
    keepOnlyTilesThatDiffer(frame);
    gatherRects();
  }
  for (const ScreenBox& rect : rects_) scaleRect(frame, window, pitch, rect);
  return rects_;
}

// A box cut to the frame; grown, by the pixels whose window pixels read it too: a window pixel
// reads its source pixel and the ones to the right and below, so a changed pixel changes the
// window pixels of the pixels one up and to the left as well. Empty when off the frame.
FrameScaler::Area FrameScaler::clipped(const ScreenBox& box, bool grown) const {
  const int g = grown ? 1 : 0;
  return {std::clamp(box.x - g, 0, src_.w), std::clamp(box.y - g, 0, src_.h),
          std::clamp(box.x + box.w, 0, src_.w), std::clamp(box.y + box.h, 0, src_.h)};
}

void FrameScaler::markTiles(std::span<const ScreenBox> boxes) {
  std::fill(tiles_.begin(), tiles_.end(), uint8_t{0});
  for (const ScreenBox& box : boxes) {
    const auto [x0, y0, x1, y1] = clipped(box, true);
    if (x0 >= x1 || y0 >= y1) continue;
    for (int ty = y0 / kTileH; ty <= (y1 - 1) / kTileH; ++ty) {
      uint8_t* row = tiles_.data() + static_cast<size_t>(ty) * tilesX_;
      std::fill(row + x0 / kTileW, row + (x1 - 1) / kTileW + 1, uint8_t{1});
    }
  }
}

// The union of the boxes (cut to the frame, perhaps grown) as areas that do not overlap (a
// ship's box before and after a move overlap almost wholly): the frame is cut into bands at
// every top and bottom edge, each band's spans are the merged boxes crossing it, and a span
// goes on downwards while the bands below have the very same one.
void FrameScaler::unite(std::span<const ScreenBox> boxes, bool grown) {
  areas_.clear();
  reached_.clear();
  bandEdges_.clear();
  for (const ScreenBox& box : boxes) {
    const Area a = clipped(box, grown);
    if (a.x0 >= a.x1 || a.y0 >= a.y1) continue;
    reached_.push_back(a);
    bandEdges_.push_back(a.y0);
    bandEdges_.push_back(a.y1);
  }
  std::sort(reached_.begin(), reached_.end(),
            [](const Area& a, const Area& b) { return a.y0 < b.y0; });
  std::sort(bandEdges_.begin(), bandEdges_.end());
  bandEdges_.erase(std::unique(bandEdges_.begin(), bandEdges_.end()), bandEdges_.end());
  std::vector<Run>& open = openRuns_;
  std::vector<Run>& next = nextRuns_;
  open.clear();
  crossing_.clear();
  size_t entering = 0;
  for (const int y : bandEdges_) {
    std::erase_if(crossing_, [y](const Area& a) { return a.y1 <= y; });
    // Kept in order from left to right: a few enter at each edge.
    for (; entering < reached_.size() && reached_[entering].y0 == y; ++entering) {
      const Area& a = reached_[entering];
      crossing_.insert(std::upper_bound(crossing_.begin(), crossing_.end(), a,
                                        [](const Area& l, const Area& r) { return l.x0 < r.x0; }),
                       a);
    }
    next.clear();
    auto continued = open.begin();  // both lists run from left to right
    for (size_t i = 0; i < crossing_.size();) {
      const int x0 = crossing_[i].x0;
      int x1 = crossing_[i].x1;
      for (++i; i < crossing_.size() && crossing_[i].x0 <= x1; ++i)
        x1 = std::max(x1, crossing_[i].x1);
      while (continued != open.end() && continued->x0 < x0) ++continued;
      if (continued != open.end() && continued->x0 == x0 && continued->x1 == x1) {
        next.push_back(*continued);
        continued->x1 = -1;  // continued, not closed
      } else {
        next.push_back({x0, x1, y});
      }
    }
    for (const Run& r : open) {
      if (r.x1 >= 0) areas_.push_back({r.x0, r.y0, r.x1, y});
    }
    std::swap(open, next);
  }
}

// The pixels of the united boxes that differ from the frame scaled before, as a box for each
// band of a few rows; the kept frame takes them.
void FrameScaler::keepOnlyWhatDiffers(const uint32_t* frame) {
  changed_.clear();
  // The kept frame is seldom still in the cache: all of it to be compared is fetched at once.
  for (const Area& a : areas_) {
    for (int y = a.y0; y < a.y1; ++y) {
      const uint32_t* kept = shown_.data() + static_cast<ptrdiff_t>(y) * src_.w;
      for (int x = a.x0; x < a.x1 + 15; x += 16)
        _mm_prefetch(reinterpret_cast<const char*>(kept + std::min(x, a.x1 - 1)), _MM_HINT_T0);
    }
  }
  for (const Area& a : areas_) {
    for (int band = a.y0; band < a.y1; band += kTileH) {
      const ScreenBox piece{a.x0, band, a.x1 - a.x0, std::min(kTileH, a.y1 - band)};
      const ptrdiff_t corner = static_cast<ptrdiff_t>(band) * src_.w + a.x0;
      const auto box = differingBox(frame + corner, src_.w, shown_.data() + corner, src_.w, piece);
      if (!box) continue;
      // Alike pixels copied with the others change nothing.
      for (int y = box->y; y < box->y + box->h; ++y) {
        const ptrdiff_t at = static_cast<ptrdiff_t>(y) * src_.w + box->x;
        std::memcpy(shown_.data() + at, frame + at, sizeof(uint32_t) * box->w);
      }
      changed_.push_back(*box);
    }
  }
}

// A tile's window pixels read its own pixels and the next column and row: it is scaled again
// only when one of those differs from the frame scaled before. All comparisons come first, as
// they read what the neighbours' copies would change.
void FrameScaler::keepOnlyTilesThatDiffer(const uint32_t* frame) {
  for (int ty = 0; ty < tilesY_; ++ty) {
    for (int tx = 0; tx < tilesX_; ++tx) {
      uint8_t& tile = tiles_[static_cast<size_t>(ty) * tilesX_ + tx];
      if (tile != 0) tile = tileDiffers(frame, tx, ty) ? 2 : 1;
    }
  }
  for (int ty = 0; ty < tilesY_; ++ty) {
    for (int tx = 0; tx < tilesX_; ++tx) {
      uint8_t& tile = tiles_[static_cast<size_t>(ty) * tilesX_ + tx];
      if (tile == 0) continue;
      // Every tile said to have changed takes the frame's pixels: the others did not change.
      const int x0 = tx * kTileW, x1 = std::min(x0 + kTileW, src_.w);
      for (int y = ty * kTileH; y < std::min((ty + 1) * kTileH, src_.h); ++y) {
        const size_t at = static_cast<size_t>(y) * src_.w + x0;
        std::memcpy(shown_.data() + at, frame + at, sizeof(uint32_t) * (x1 - x0));
      }
      tile = tile == 2 ? 1 : 0;
    }
  }
}

bool FrameScaler::tileDiffers(const uint32_t* frame, int tx, int ty) const {
  const int x0 = tx * kTileW, x1 = std::min(x0 + kTileW + 1, src_.w);
  for (int y = ty * kTileH; y < std::min((ty + 1) * kTileH + 1, src_.h); ++y) {
    const size_t at = static_cast<size_t>(y) * src_.w + x0;
    if (std::memcmp(shown_.data() + at, frame + at, sizeof(uint32_t) * (x1 - x0)) != 0) return true;
  }
  return false;
}

// Runs of changed tiles, a run continued downwards while the rows below have the same one.
void FrameScaler::gatherRects() {
  std::vector<Run>& open = openRuns_;
  std::vector<Run>& next = nextRuns_;
  open.clear();
  for (int ty = 0; ty <= tilesY_; ++ty) {
    next.clear();
    const uint8_t* row = tiles_.data() + static_cast<size_t>(ty) * tilesX_;
    for (int tx = 0; ty < tilesY_ && tx < tilesX_;) {
      if (row[tx] == 0) {
        // Most tiles are unchanged: eight at a time.
        uint64_t eight = 0;
        while (tx + 8 <= tilesX_ && (std::memcpy(&eight, row + tx, 8), eight == 0)) tx += 8;
        while (tx < tilesX_ && row[tx] == 0) ++tx;
        continue;
      }
      const int start = tx;
      while (tx < tilesX_ && row[tx] != 0) ++tx;
      const auto same = std::find_if(open.begin(), open.end(),
                                     [&](const Run& r) { return r.x0 == start && r.x1 == tx; });
      if (same != open.end()) {
        next.push_back(*same);
        same->x1 = -1;  // continued, not closed
      } else {
        next.push_back({start, tx, ty});
      }
    }
    for (const Run& r : open) {
      if (r.x1 >= 0) addRect(r.x0, r.x1, r.y0, ty);
    }
    std::swap(open, next);
  }
}

void FrameScaler::addRect(int tileX0, int tileX1, int tileY0, int tileY1) {
  const int x0 = firstColumn_[static_cast<size_t>(tileX0 * kTileW)];
  const int x1 = firstColumn_[static_cast<size_t>(std::min(tileX1 * kTileW, src_.w))];
  const int y0 = firstRow_[static_cast<size_t>(tileY0 * kTileH)];
  const int y1 = firstRow_[static_cast<size_t>(std::min(tileY1 * kTileH, src_.h))];
  if (x0 < x1 && y0 < y1) rects_.push_back({x0, y0, x1 - x0, y1 - y0});
}

// Window columns [x0, x1) of one source row (rounded up to whole groups of four), each the
// blend of its two source pixels: four 16-bit channels a pixel with 6 fraction bits, so that
// the vertical blend can double their differences within 16 bits. The products and their sum
// stay below 65,536, so 16-bit lanes taken as unsigned hold them exactly.
void FrameScaler::horizontalPass(const uint32_t* row, int x0, int x1, int16_t* out) const {
  const __m128i zero = _mm_setzero_si128();
  for (int d = x0; d < x1; d += 2, out += 8) {
    const __m128i a = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + columns_[d].first));
    const __m128i b =
        _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + columns_[d + 1].first));
    const __m128i mixed = _mm_unpacklo_epi32(a, b);  // a's pixel, b's, a's right one, b's
    const __m128i left = _mm_unpacklo_epi8(mixed, zero), right = _mm_unpackhi_epi8(mixed, zero);
    const auto weights = [d](const std::vector<int16_t>& w) {
      return _mm_loadu_si128(reinterpret_cast<const __m128i*>(w.data() + 4 * d));
    };
    const __m128i sum = _mm_add_epi16(_mm_mullo_epi16(left, weights(leftWeights_)),
                                      _mm_mullo_epi16(right, weights(rightWeights_)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_srli_epi16(sum, 2));
  }
}

// Blends two stretched rows by an 8-bit weight, four pixels at a time: the upper row plus
// the weighted difference (doubled, as the high half of the product halves it).
void FrameScaler::verticalPass(const int16_t* upper, const int16_t* lower, int weight, int count,
                               uint32_t* out) const {
  if (weight == 256) {
    upper = lower;
    weight = 0;
  }
  const __m128i w = _mm_set1_epi16(static_cast<int16_t>(weight << 7));
  const __m128i half = _mm_set1_epi16(32);
  const auto blend = [&](int at) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(upper + at));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lower + at));
    const __m128i v = _mm_add_epi16(a, _mm_mulhi_epi16(_mm_slli_epi16(_mm_sub_epi16(b, a), 1), w));
    return _mm_srai_epi16(_mm_add_epi16(v, half), 6);
  };
  for (int i = 0; i < count; i += 4) {
    const __m128i bytes = _mm_packus_epi16(blend(4 * i), blend(4 * i + 8));
    if (i + 4 <= count) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), bytes);
    } else {
      alignas(16) uint32_t four[4];
      _mm_store_si128(reinterpret_cast<__m128i*>(four), bytes);
      std::memcpy(out + i, four, sizeof(uint32_t) * (count - i));
    }
  }
}

void FrameScaler::scaleRect(const uint32_t* frame, uint32_t* window, int pitch,
                            const ScreenBox& rect) {
  if (identity()) {
    for (int y = rect.y; y < rect.y + rect.h; ++y) {
      std::memcpy(window + static_cast<ptrdiff_t>(y) * pitch + rect.x,
                  frame + static_cast<ptrdiff_t>(y) * src_.w + rect.x, sizeof(uint32_t) * rect.w);
    }
    return;
  }
  const int x0 = rect.x, x1 = rect.x + (rect.w + 3) / 4 * 4;
  const auto sourceRow = [&](int y) { return frame + static_cast<ptrdiff_t>(y) * src_.w; };
  int upperRow = -1, lowerRow = -1;
  for (int y = rect.y; y < rect.y + rect.h; ++y) {
    const Sample& r = rows_[static_cast<size_t>(y)];
    if (r.first != upperRow) {
      if (r.first == lowerRow) {
        std::swap(upper_, lower_);
      } else {
        horizontalPass(sourceRow(r.first), x0, x1, upper_.data());
      }
      horizontalPass(sourceRow(r.first + 1), x0, x1, lower_.data());
      upperRow = r.first;
      lowerRow = r.first + 1;
    }
    verticalPass(upper_.data(), lower_.data(), r.weight, rect.w,
                 window + static_cast<ptrdiff_t>(y) * pitch + x0);
  }
}
