#include "media/compositor.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace {

// A half-open range of rows or columns inside an image.
struct Span {
  int begin = 0, end = 0;
  bool empty() const { return begin >= end; }
};

// [start, start + length) cut to [limit.begin, limit.end). 64-bit so that no position or size
// can overflow.
Span clipSpan(int64_t start, int64_t length, Span limit) {
  const int64_t begin = std::clamp<int64_t>(start, limit.begin, limit.end);
  const int64_t end =
      std::clamp<int64_t>(start + std::max<int64_t>(length, 0), limit.begin, limit.end);
  return {static_cast<int>(begin), static_cast<int>(end)};
}

// The columns and rows of dst inside the clip.
struct Area {
  Span cols, rows;
};

Area areaOf(const Image& dst, const PixelBox& clip) {
  const Span allCols{0, dst.w}, allRows{0, dst.h};
  return {clipSpan(clip.x, clip.w, allCols), clipSpan(clip.y, clip.h, allRows)};
}

const uint32_t* sourceAt(const Image& src, int64_t x, int64_t y) {
  return src.pixels.data() + y * src.w + x;
}

// std::fill, but as fast as memset whatever the colour: a few pixels one by one, then copies
// of what is already filled.
void fillPixels(uint32_t* to, size_t count, uint32_t colour) {
  size_t done = std::min<size_t>(count, 8);
  std::fill_n(to, done, colour);
  while (done < count) {
    const size_t more = std::min(done, count - done);
    std::memcpy(to + done, to, more * sizeof(uint32_t));
    done += more;
  }
}

void fillSpan(Image& dst, const Area& area, int row, int64_t from, int64_t to, uint32_t colour) {
  const Span cols = clipSpan(from, to - from, area.cols);
  if (cols.empty()) return;
  fillPixels(&dst.at(cols.begin, row), static_cast<size_t>(cols.end - cols.begin), colour);
}

void fillRect(Image& dst, const Area& area, int64_t x, int64_t y, int64_t w, int64_t h,
              uint32_t colour) {
  const Span rows = clipSpan(y, h, area.rows);
  for (int row = rows.begin; row < rows.end; ++row) fillSpan(dst, area, row, x, x + w, colour);
}

// Whole pixels cut off one end of row j (0 = top) of a box of the given height whose corners
// are quarter ellipses with radii rx, ry; a pixel stays when its centre is inside the ellipse.
int64_t cornerInset(int64_t j, int64_t height, int64_t rx, int64_t ry) {
  double dy = 0;
  if (j < ry) {
    dy = static_cast<double>(ry - j) - 0.5;
  } else if (j >= height - ry) {
    dy = static_cast<double>(j - (height - ry)) + 0.5;
  } else {
    return 0;
  }
  const double t = dy / static_cast<double>(ry);
  const double halfWidth = static_cast<double>(rx) * std::sqrt(std::max(0.0, 1.0 - t * t));
  const double inset = std::ceil(static_cast<double>(rx) - halfWidth - 0.5);
  return std::clamp<int64_t>(static_cast<int64_t>(inset), 0, rx);
}

// Largest s with s * s <= v, for 0 <= v < 2^63.
int64_t integerSqrt(int64_t v) {
  auto s = static_cast<int64_t>(std::sqrt(static_cast<double>(v)));
  while (s > 0 && s * s > v) --s;
  while ((s + 1) * (s + 1) <= v) ++s;
  return s;
}

}  // namespace

void fillImage(Image& dst, uint32_t colour) {
  if (dst.empty()) return;
  fillPixels(dst.pixels.data(), static_cast<size_t>(dst.w), colour);
  // Row by row from the first, which stays in the nearest cache: the picture is written
  // once and nothing else is read.
  for (int row = 1; row < dst.h; ++row) std::copy_n(&dst.at(0, 0), dst.w, &dst.at(0, row));
}

std::optional<uint32_t> soleColour(const Image& image) {
  if (image.empty()) return std::nullopt;
  // All alike exactly when each equals the next: one memcmp, many pixels at a time (a bar
  // drawn anew in every frame is asked again each time).
  const uint32_t* p = image.pixels.data();
  if (std::memcmp(p, p + 1, sizeof(uint32_t) * (image.pixels.size() - 1)) != 0) return std::nullopt;
  return p[0];
}

void copyImage(Image& dst, const Image& src, int x, int y) {
  copyImage(dst, src, x, y, wholeOf(dst));
}

void copyImage(Image& dst, const Image& src, int x, int y, const PixelBox& clip) {
  const Area area = areaOf(dst, clip);
  const Span cols = clipSpan(x, src.w, area.cols);
  const Span rows = clipSpan(y, src.h, area.rows);
  if (cols.empty()) return;
  for (int row = rows.begin; row < rows.end; ++row) {
    const uint32_t* from = sourceAt(src, cols.begin - int64_t{x}, row - int64_t{y});
    std::copy_n(from, cols.end - cols.begin, &dst.at(cols.begin, row));
  }
}

void copyImageKeyed(Image& dst, const Image& src, int x, int y, uint32_t key) {
  copyImageKeyed(dst, src, x, y, key, wholeOf(dst));
}

void copyImageKeyed(Image& dst, const Image& src, int x, int y, uint32_t key,
                    const PixelBox& clip) {
  // A cannonball, wholly on the screen and in the clip: nothing to cut.
  if (x >= std::max(clip.x, 0) && y >= std::max(clip.y, 0) &&
      int64_t{x} + src.w <= std::min<int64_t>(int64_t{clip.x} + clip.w, dst.w) &&
      int64_t{y} + src.h <= std::min<int64_t>(int64_t{clip.y} + clip.h, dst.h)) {
    const uint32_t* from = src.pixels.data();
    uint32_t* to = &dst.at(x, y);
    for (int row = 0; row < src.h; ++row, from += src.w, to += dst.w) {
      for (int i = 0; i < src.w; ++i) {
        if (!isKey(from[i], key)) to[i] = from[i];
      }
    }
    return;
  }
  const Area area = areaOf(dst, clip);
  const Span cols = clipSpan(x, src.w, area.cols);
  const Span rows = clipSpan(y, src.h, area.rows);
  if (cols.empty() || rows.empty()) return;
  const int width = cols.end - cols.begin;
  const uint32_t* from = sourceAt(src, cols.begin - int64_t{x}, rows.begin - int64_t{y});
  uint32_t* to = &dst.at(cols.begin, rows.begin);
  for (int row = rows.begin; row < rows.end; ++row, from += src.w, to += dst.w) {
    for (int i = 0; i < width; ++i) {
      if (!isKey(from[i], key)) to[i] = from[i];
    }
  }
}

bool imagesOverlap(const Image& a, uint32_t keyA, int xa, int ya, const Image& b, uint32_t keyB,
                   int xb, int yb) {
  const int64_t left = std::max<int64_t>(xa, xb);
  const int64_t right = std::min(int64_t{xa} + a.w, int64_t{xb} + b.w);
  const int64_t top = std::max<int64_t>(ya, yb);
  const int64_t bottom = std::min(int64_t{ya} + a.h, int64_t{yb} + b.h);
  for (int64_t y = top; y < bottom; ++y) {
    for (int64_t x = left; x < right; ++x) {
      const uint32_t pa = a.at(static_cast<int>(x - xa), static_cast<int>(y - ya));
      const uint32_t pb = b.at(static_cast<int>(x - xb), static_cast<int>(y - yb));
      if (!isKey(pa, keyA) && !isKey(pb, keyB)) return true;
    }
  }
  return false;
}

void fillBoxesOnImage(Image& dst, std::span<const PixelBox> boxes, uint32_t colour) {
  fillBoxesOnImage(
      dst, boxes.size(), [boxes](size_t i) { return boxes[i]; }, colour);
}

void fillBox(Image& dst, int x, int y, int w, int h, uint32_t colour) {
  fillBox(dst, x, y, w, h, colour, wholeOf(dst));
}

void fillBox(Image& dst, int x, int y, int w, int h, uint32_t colour, const PixelBox& clip) {
  if (w <= 0 || h <= 0) return;
  fillRect(dst, areaOf(dst, clip), x, y, w, h, colour);
}

void fillRoundBox(Image& dst, int x, int y, int w, int h, int rx, int ry, uint32_t colour) {
  fillRoundBox(dst, x, y, w, h, rx, ry, colour, wholeOf(dst));
}

void fillRoundBox(Image& dst, int x, int y, int w, int h, int rx, int ry, uint32_t colour,
                  const PixelBox& clip) {
  int64_t left = x, top = y, width = w, height = h;
  if (width < 0) {
    left += width;
    width = -width;
  }
  if (height < 0) {
    top += height;
    height = -height;
  }
  const Area area = areaOf(dst, clip);
  const int64_t radiusX = std::clamp<int64_t>(rx, 0, width / 2);
  const int64_t radiusY = std::clamp<int64_t>(ry, 0, height / 2);
  if (radiusX == 0 || radiusY == 0) {
    fillRect(dst, area, left, top, width, height, colour);
    return;
  }
  const Span rows = clipSpan(top, height, area.rows);
  for (int row = rows.begin; row < rows.end; ++row) {
    const int64_t inset = cornerInset(row - top, height, radiusX, radiusY);
    fillSpan(dst, area, row, left + inset, left + width - inset, colour);
  }
}

void fillCircle(Image& dst, int x, int y, int r, uint32_t colour) {
  fillCircle(dst, x, y, r, colour, wholeOf(dst));
}

void fillCircle(Image& dst, int x, int y, int r, uint32_t colour, const PixelBox& clip) {
  if (r < 0) return;
  const Area area = areaOf(dst, clip);
  const int64_t radius = r;
  const Span rows = clipSpan(int64_t{y} - radius, 2 * radius + 1, area.rows);
  for (int row = rows.begin; row < rows.end; ++row) {
    const int64_t dy = row - int64_t{y};
    const int64_t half = integerSqrt(radius * radius - dy * dy);
    fillSpan(dst, area, row, int64_t{x} - half, int64_t{x} + half + 1, colour);
  }
}
