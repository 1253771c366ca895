#include "media/frame_scaler.h"

#include <emmintrin.h>

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// A pair of 16-bit weights (256 - w, w), as _mm_madd_epi16 takes them.
__m128i weightPair(int w) {
  return _mm_set1_epi32(static_cast<int>((uint32_t(w) << 16) | uint32_t(256 - w)));
}

}  // namespace

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
      // Room for a pair of pixels past the end: the passes work two pixels at a time.
      upper_(static_cast<size_t>(dst.w + 2) * 4),
      lower_(static_cast<size_t>(dst.w + 2) * 4) {
  columns_.push_back(columns_.back());  // the pair past the last column reads its neighbour
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
  if (changes.everything || !haveShown_) {
    rects_.push_back({0, 0, dst_.w, dst_.h});
    shown_.assign(frame, frame + static_cast<size_t>(src_.w) * src_.h);
    haveShown_ = true;
  } else {
    markTiles(changes);
    keepOnlyTilesThatDiffer(frame);
    gatherRects();
  }
  for (const ScreenBox& rect : rects_) scaleRect(frame, window, pitch, rect);
  return rects_;
}

// A window pixel reads its source pixel and the ones to the right and below: a changed
// pixel changes the window pixels that read it as a neighbour too, which belong to the
// tiles one pixel up and to the left.
void FrameScaler::markTiles(const FrameChanges& changes) {
  std::fill(tiles_.begin(), tiles_.end(), uint8_t{0});
  for (const ScreenBox& box : changes.boxes) {
    const int x0 = std::clamp(box.x - 1, 0, src_.w), x1 = std::clamp(box.x + box.w, 0, src_.w);
    const int y0 = std::clamp(box.y - 1, 0, src_.h), y1 = std::clamp(box.y + box.h, 0, src_.h);
    if (x0 >= x1 || y0 >= y1) continue;
    for (int ty = y0 / kTileH; ty <= (y1 - 1) / kTileH; ++ty) {
      uint8_t* row = tiles_.data() + static_cast<size_t>(ty) * tilesX_;
      std::fill(row + x0 / kTileW, row + (x1 - 1) / kTileW + 1, uint8_t{1});
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
  struct Run {
    int x0, x1, y0;
  };
  std::vector<Run> open, next;
  for (int ty = 0; ty <= tilesY_; ++ty) {
    next.clear();
    const uint8_t* row = tiles_.data() + static_cast<size_t>(ty) * tilesX_;
    for (int tx = 0; ty < tilesY_ && tx < tilesX_;) {
      if (row[tx] == 0) {
        ++tx;
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

// Window columns [x0, x1) of one source row, each the blend of its two source pixels:
// four 16-bit channels a pixel with 7 fraction bits, rounded up to whole pairs.
void FrameScaler::horizontalPass(const uint32_t* row, int x0, int x1, int16_t* out) const {
  const __m128i zero = _mm_setzero_si128();
  for (int d = x0; d < x1; d += 2, out += 8) {
    __m128i sums[2];
    for (int k = 0; k < 2; ++k) {
      const Sample& s = columns_[static_cast<size_t>(d + k)];
      // The pixel and its right neighbour, channel by channel: b0 b1 g0 g1 r0 r1 x0 x1.
      const __m128i pair = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + s.first));
      const __m128i mixed = _mm_unpacklo_epi8(pair, _mm_srli_si128(pair, 4));
      sums[k] =
          _mm_srai_epi32(_mm_madd_epi16(_mm_unpacklo_epi8(mixed, zero), weightPair(s.weight)), 1);
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_packs_epi32(sums[0], sums[1]));
  }
}

void FrameScaler::scaleRect(const uint32_t* frame, uint32_t* window, int pitch,
                            const ScreenBox& rect) {
  const int x0 = rect.x, x1 = rect.x + rect.w;
  if (identity()) {
    for (int y = rect.y; y < rect.y + rect.h; ++y) {
      std::memcpy(window + static_cast<ptrdiff_t>(y) * pitch + x0,
                  frame + static_cast<ptrdiff_t>(y) * src_.w + x0, sizeof(uint32_t) * rect.w);
    }
    return;
  }
  const auto sourceRow = [&](int y) { return frame + static_cast<ptrdiff_t>(y) * src_.w; };
  int upperRow = -1, lowerRow = -1;
  const __m128i half = _mm_set1_epi32(1 << 14);
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
    const __m128i weights = weightPair(r.weight);
    uint32_t* out = window + static_cast<ptrdiff_t>(y) * pitch + x0;
    for (int i = 0; i < rect.w; i += 2) {
      const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(upper_.data() + 4 * i));
      const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lower_.data() + 4 * i));
      // 7 + 8 fraction bits, rounded to the nearest whole value.
      const __m128i first = _mm_srai_epi32(
          _mm_add_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(a, b), weights), half), 15);
      const __m128i second = _mm_srai_epi32(
          _mm_add_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(a, b), weights), half), 15);
      const __m128i words = _mm_packs_epi32(first, second);
      const __m128i bytes = _mm_packus_epi16(words, words);
      if (i + 1 < rect.w) {
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i), bytes);
      } else {
        out[i] = static_cast<uint32_t>(_mm_cvtsi128_si32(bytes));
      }
    }
  }
}
