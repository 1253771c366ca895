// Turned drawing of a picture by inverse mapping: every destination pixel near the turned
// picture looks up where it comes from in the source. The mapping is affine, so a row of
// destination pixels walks the source along a straight line with a constant step.
#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstring>
#include <numbers>
#include <optional>
#include <vector>

#include "media/compositor.h"
#include "media/turn_sampling.h"

namespace {

using turn_sampling::kOne;
using turn_sampling::OpaqueSampler;
using turn_sampling::toFixed;

struct Turn {
  double sin = 0, cos = 1;
};

// Quarter turns come out exact, so pictures turned by 90, 180 or 270 degrees land on whole
// pixels instead of a rounding error away from a tie.
Turn turnOf(double degrees) {
  double reduced = std::fmod(degrees, 360.0);
  if (reduced < 0) reduced += 360.0;
  if (reduced == 0 || reduced == 360.0) return {0, 1};
  if (reduced == 90.0) return {1, 0};
  if (reduced == 180.0) return {0, -1};
  if (reduced == 270.0) return {-1, 0};
  const double radians = reduced * std::numbers::pi / 180.0;
  return {std::sin(radians), std::cos(radians)};
}

// Narrows [first, last] to the columns x at which u0 + du * x can lie in (lo, hi]. Generous by
// a column at each end: the exact test is made per pixel.
[[gnu::always_inline]] inline bool narrowColumns(double u0, double du, double lo, double hi,
                                                 double& first, double& last) {
  if (std::abs(du) < 1e-12) return u0 > lo - 1 && u0 <= hi + 1;
  double a = (lo - u0) / du;
  double b = (hi - u0) / du;
  if (a > b) std::swap(a, b);
  first = std::max(first, std::floor(a) - 1);
  last = std::min(last, std::ceil(b) + 1);
  return first <= last;
}

// Where the lines that enclose the opaque texels cross each destination row. With the
// picture's centre at (cx, cy), pixel (x, y) samples source point
//   u = srcCentreX + cos * (x - cx) + sin * (y - cy),  v = srcCentreY - sin * (x - cx) + cos * (y -
//   cy),
// so a line a * u + b * v <= c limits the columns of row y to one side of a point that moves
// by a fixed amount from row to row. A line that runs along the rows holds a row or not.
class OpaqueRows {
 public:
  // `slack`: how far, in texels, the fixed-point walk may stray from the exact source point.
  OpaqueRows(const TurnSource& src, const Turn& turn, double cx, double cy, double slack) {
    const double srcCentreX = (src.width() - 1) / 2.0;
    const double srcCentreY = (src.height() - 1) / 2.0;
    for (const TurnSource::Bound& bound : src.bounds()) {
      const double perColumn = bound.a * turn.cos - bound.b * turn.sin;
      const double perRow = bound.a * turn.sin + bound.b * turn.cos;
      // a * u + b * v <= c  <=>  perColumn * (x - cx) <= room - perRow * (y - cy)
      const double room = bound.c + slack - bound.a * srcCentreX - bound.b * srcCentreY;
      if (std::abs(perColumn) < 1e-12) {
        rowLimits_.push({perRow, room + perRow * cy});  // perRow * y <= that
        continue;
      }
      // x <= or >= at + slope * y
      const Limit limit{-perRow / perColumn, cx + (room + perRow * cy) / perColumn};
      (perColumn > 0 ? upper_ : lower_).push(limit);
    }
  }

  // Narrows [first, last] to the columns of row y whose source point can lie on the inner
  // side of every line, generous by a column at each end.
  bool narrow(int y, double& first, double& last) const {
    for (const Limit& row : rowLimits_) {
      if (row.slope * y > row.at) return false;
    }
    double left = first, right = last;
    for (const Limit& l : lower_) left = std::max(left, l.at + l.slope * y);
    for (const Limit& u : upper_) right = std::min(right, u.at + u.slope * y);
    first = std::max(first, std::ceil(left) - 1);
    last = std::min(last, std::floor(right) + 1);
    return first <= last;
  }

  // Where the lines leave room along row y: from the largest of the lower ones to the least
  // of the upper ones, and how fast each moves from row to row there.
  struct Reach {
    double left = -HUGE_VAL, leftSlope = 0, right = HUGE_VAL, rightSlope = 0;
  };
  Reach reachAt(int y) const {
    Reach r;
    for (const Limit& l : lower_) {
      if (const double x = l.at + l.slope * y; x > r.left) r = {x, l.slope, r.right, r.rightSlope};
    }
    for (const Limit& u : upper_) {
      if (const double x = u.at + u.slope * y; x < r.right) r = {r.left, r.leftSlope, x, u.slope};
    }
    return r;
  }

  // Narrows [first, last] to the columns that narrow() leaves to any row from y0 to y1, whose
  // reaches are given, and a column more at each end for rounding. The largest of the lower
  // lines is convex in y, so it is least at an end unless it turns between them; the least of
  // the upper ones likewise.
  bool narrowBand(int y0, int y1, const Reach& top, const Reach& bottom, double& first,
                  double& last) const {
    for (const Limit& row : rowLimits_) {
      if (row.slope * y0 > row.at && row.slope * y1 > row.at) return false;  // a half-plane
    }
    double left = std::min(top.left, bottom.left), right = std::max(top.right, bottom.right);
    if ((top.leftSlope < 0 && bottom.leftSlope > 0) ||
        (top.rightSlope > 0 && bottom.rightSlope < 0)) {
      for (int y = y0 + 1; y < y1; ++y) {
        const Reach r = reachAt(y);
        left = std::min(left, r.left);
        right = std::max(right, r.right);
      }
    }
    first = std::max(first, std::floor(left) - 2);
    last = std::min(last, std::ceil(right) + 2);
    return first <= last;
  }

 private:
  struct Limit {
    double slope = 0, at = 0;
  };
  // At most kBoundCount of them in all: held in place, as ships are outlined every frame.
  struct Limits {
    std::array<Limit, TurnSource::kBoundCount> held;
    int count = 0;
    void push(const Limit& l) { held[static_cast<size_t>(count++)] = l; }
    const Limit* begin() const { return held.data(); }
    const Limit* end() const { return held.data() + count; }
  };
  Limits lower_, upper_, rowLimits_;
};

// The box of the row stretches handed to the sampler, which draws nowhere else.
class DrawnRows {
 public:
  void add(int y, int from, int to) {
    if (top_ > bottom_) top_ = y;
    bottom_ = y;
    left_ = std::min(left_, from);
    right_ = std::max(right_, to);
  }
  PixelBox box() const {
    if (top_ > bottom_) return {};
    return {left_, top_, right_ - left_ + 1, bottom_ - top_ + 1};
  }

 private:
  int left_ = INT_MAX, right_ = INT_MIN, top_ = 0, bottom_ = -1;
};

}  // namespace

namespace {

// What a turned drawing works out before its rows: the turn, the rows and columns of a
// destination of the given size that the turned picture's box can reach, and the walk's step.
struct TurnPlan {
  TurnPlan(const TurnSource& src, int dstW, int dstH, double cx, double cy, double degrees)
      : centreX(cx), centreY(cy) {
    if (src.blank() || dstW <= 0 || dstH <= 0) return;
    if (!std::isfinite(cx) || !std::isfinite(cy) || !std::isfinite(degrees)) return;
    turn = turnOf(degrees);
    const int w = src.width(), h = src.height();
    // Half extents of the turned picture's bounding box, plus a pixel for the sampling margin.
    const double reachX = std::abs(turn.cos) * w / 2 + std::abs(turn.sin) * h / 2 + 1;
    const double reachY = std::abs(turn.sin) * w / 2 + std::abs(turn.cos) * h / 2 + 1;
    firstCol = std::max(0.0, std::floor(cx - reachX));
    lastCol = std::min(dstW - 1.0, std::ceil(cx + reachX));
    firstRow = std::max(0.0, std::floor(cy - reachY));
    lastRow = std::min(dstH - 1.0, std::ceil(cy + reachY));
    if (firstCol > lastCol || firstRow > lastRow) return;
    empty = false;
    srcCentreX = (w - 1) / 2.0;
    srcCentreY = (h - 1) / 2.0;
    stepX = toFixed(turn.cos);
    stepY = toFixed(-turn.sin);
    // Each fixed-point step is off by at most half a unit per axis.
    slack = 2.0 * (lastCol - firstCol + 2) / kOne;
  }

  bool empty = true;
  Turn turn;
  double centreX, centreY, srcCentreX = 0, srcCentreY = 0;
  double firstCol = 0, lastCol = -1, firstRow = 0, lastRow = -1;
  int64_t stepX = 0, stepY = 0;
  double slack = 0;
};

// One row's walk through the picture: the columns [first, last] at which it can lie inside the
// picture's box, and the fixed-point source point at `first`.
struct RowWalk {
  double first = 0, last = 0;
  int64_t fx = 0, fy = 0;
};

// Along row y the source point is (ux + cos * x, uy - sin * x).
[[gnu::always_inline]] inline bool walkRow(const TurnPlan& plan, const TurnSource& src, int y,
                                           RowWalk& walk) {
  const double dy = y - plan.centreY;
  const double ux = plan.srcCentreX + plan.turn.sin * dy - plan.turn.cos * plan.centreX;
  const double uy = plan.srcCentreY + plan.turn.cos * dy + plan.turn.sin * plan.centreX;
  double first = plan.firstCol;
  double last = plan.lastCol;
  if (!narrowColumns(ux, plan.turn.cos, -0.5, src.width() - 0.5, first, last)) return false;
  if (!narrowColumns(uy, -plan.turn.sin, -0.5, src.height() - 0.5, first, last)) return false;
  // The walk starts where the picture's box starts, whatever is skipped, so that every
  // pixel samples the same point it always has.
  walk = {first, last, toFixed(ux + plan.turn.cos * first), toFixed(uy - plan.turn.sin * first)};
  return true;
}

// Most rows of the box, or most of each, can only meet transparent texels: the columns of row
// y, within the walk, that may be drawn. False when none.
bool opaqueSpan(const TurnPlan& plan, const OpaqueRows& opaqueRows, int y, const RowWalk& walk,
                double& from, double& to) {
  from = plan.firstCol;
  to = plan.lastCol;
  if (!opaqueRows.narrow(y, from, to)) return false;
  from = std::max(from, walk.first);
  to = std::min(to, walk.last);
  return from <= to;
}

// Columns [from, to] of the walk along row y, sampled into `out` (the pixel of column `from`).
void sampleRow(const TurnPlan& plan, const OpaqueSampler& sampler, const RowWalk& walk, double from,
               double to, uint32_t* out, uint32_t mark = 0) {
  const auto skipped = static_cast<int64_t>(from - walk.first);
  sampler.drawRow(out, static_cast<int>(to - from) + 1, walk.fx + plan.stepX * skipped,
                  walk.fy + plan.stepY * skipped, plan.stepX, plan.stepY, mark);
}

constexpr int64_t kLargestKept = 512 * 512;

// The whole number below v, and v's bit pattern.
int64_t anchorOf(double v) { return static_cast<int64_t>(std::floor(v)); }

uint64_t bitsOf(double v) {
  uint64_t bits = 0;
  std::memcpy(&bits, &v, sizeof bits);
  return bits;
}

// Samples columns [from, to] of the walk and keeps the pixels drawn, as runs after those kept
// already, their columns counted from the anchor column; gives where the row's runs begin and
// how many there are.
void keepRow(const TurnPlan& plan, const OpaqueSampler& sampler, const RowWalk& walk, double from,
             double to, int64_t anchor, std::vector<TurnCache::Run>& runs,
             std::vector<uint32_t>& pixels, uint32_t& runAt, uint32_t& runCount) {
  // Sampled after the kept pixels with every drawn pixel marked, then moved down as runs.
  constexpr uint32_t kDrawn = 0xFF000000;
  const size_t start = pixels.size();
  const size_t end = start + static_cast<size_t>(to - from) + 1;
  pixels.resize(end, 0);
  sampleRow(plan, sampler, walk, from, to, pixels.data() + start, kDrawn);
  runAt = static_cast<uint32_t>(runs.size());
  size_t kept = start;
  for (size_t i = start; i < end;) {
    if ((pixels[i] & kDrawn) == 0) {
      ++i;
      continue;
    }
    TurnCache::Run& run = runs.emplace_back();
    run.from =
        static_cast<int32_t>(static_cast<int64_t>(from) - anchor) + static_cast<int32_t>(i - start);
    run.at = static_cast<uint32_t>(kept);
    for (; i < end && (pixels[i] & kDrawn) != 0; ++i) pixels[kept++] = pixels[i] & kRgbMask;
    run.length = static_cast<int32_t>(kept - run.at);
  }
  pixels.resize(kept);
  runCount = static_cast<uint32_t>(runs.size()) - runAt;
}

}  // namespace

PixelBox drawTurned(Image& dst, const TurnSource& src, double centreX, double centreY,
                    double degrees) {
  if (dst.empty()) return {};
  const TurnPlan plan(src, dst.w, dst.h, centreX, centreY, degrees);
  if (plan.empty) return {};
  const OpaqueSampler sampler(src);
  const OpaqueRows opaqueRows(src, plan.turn, centreX, centreY, plan.slack);
  DrawnRows drawn;
  for (int y = static_cast<int>(plan.firstRow); y <= static_cast<int>(plan.lastRow); ++y) {
    RowWalk walk;
    double from = 0, to = 0;
    if (!walkRow(plan, src, y, walk) || !opaqueSpan(plan, opaqueRows, y, walk, from, to)) continue;
    drawn.add(y, static_cast<int>(from), static_cast<int>(to));
    sampleRow(plan, sampler, walk, from, to, &dst.at(static_cast<int>(from), y));
  }
  return drawn.box();
}

TurnCache::Entry* TurnCache::entry(const TurnSource& src, double centreX, double centreY,
                                   double degrees) {
  if (source_ != &src) {
    clear();
    source_ = &src;
  }
  const double fractionX = centreX - std::floor(centreX);
  const double fractionY = centreY - std::floor(centreY);
  const uint64_t keyDegrees = bitsOf(degrees), keyX = bitsOf(fractionX), keyY = bitsOf(fractionY);
  ++uses_;
  for (Entry& e : entries_) {
    if (e.degrees == keyDegrees && e.fractionX == keyX && e.fractionY == keyY) {
      e.lastUse = uses_;
      return &e;
    }
  }
  const Key key{keyDegrees, keyX, keyY};
  if (std::find(seen_.begin(), seen_.end(), key) == seen_.end()) {
    seen_[nextSeen_] = key;
    nextSeen_ = (nextSeen_ + 1) % kSeen;
    return nullptr;
  }
  if (entries_.size() == kEntries) {
    entries_.erase(
        std::min_element(entries_.begin(), entries_.end(),
                         [](const Entry& a, const Entry& b) { return a.lastUse < b.lastUse; }));
  }
  Entry& e = entries_.emplace_back();
  e.degrees = keyDegrees;
  e.fractionX = keyX;
  e.fractionY = keyY;
  e.lastUse = uses_;
  // Drawn with its anchor far enough in on a destination large enough that nothing is cut.
  const Turn turn = turnOf(degrees);
  const double reach =
      std::abs(turn.cos) * src.width() / 2 + std::abs(turn.sin) * src.height() / 2 +
      std::abs(turn.sin) * src.width() / 2 + std::abs(turn.cos) * src.height() / 2 + 2;
  const int anchor = std::isfinite(reach) ? static_cast<int>(std::ceil(reach)) + 2 : 0;
  const TurnPlan plan(src, 2 * anchor + 4, 2 * anchor + 4, anchor + fractionX, anchor + fractionY,
                      degrees);
  if (plan.empty) return &e;
  const OpaqueSampler sampler(src);
  const OpaqueRows opaqueRows(src, plan.turn, plan.centreX, plan.centreY, plan.slack);
  e.firstRow = static_cast<int32_t>(plan.firstRow) - anchor;
  for (int y = static_cast<int>(plan.firstRow); y <= static_cast<int>(plan.lastRow); ++y) {
    Row& row = e.rows.emplace_back();
    RowWalk walk;
    if (!walkRow(plan, src, y, walk)) continue;
    row.walks = true;
    row.first = static_cast<int32_t>(walk.first) - anchor;
    row.fx = walk.fx;
    row.fy = walk.fy;
    double from = 0, to = 0;
    if (!opaqueSpan(plan, opaqueRows, y, walk, from, to)) continue;
    keepRow(plan, sampler, walk, from, to, anchor, e.runs, e.pixels, row.runAt, row.runCount);
  }
  return &e;
}

TurnCache::Place& TurnCache::Entry::placeAt(double centreX, double centreY, int width) {
  const uint64_t x = bitsOf(centreX), y = bitsOf(centreY);
  for (Place& p : places) {
    if (p.x == x && p.y == y && p.width == width && p.rows.size() == rows.size()) return p;
  }
  Place& p = places[nextPlace];
  nextPlace = (nextPlace + 1) % kPlaces;
  p.x = x;
  p.y = y;
  p.width = width;
  p.rows.assign(rows.size(), {});
  p.runs.clear();
  p.pixels.clear();
  return p;
}

namespace {

PixelBox boxOf(const TurnPlan& plan, const TurnSource& src) {
  if (plan.empty) return {};
  const double centreX = plan.centreX, centreY = plan.centreY;
  // A drawn pixel's source point lies within half a texel (and the walk's drift) of an
  // opaque texel's centre; the turned corners of that box bound the pixels.
  const TurnSource::Box& box = src.opaqueBox();
  const double margin = 0.5 + plan.slack + 1e-6;
  const double u0 = box.left - margin - plan.srcCentreX;
  const double u1 = box.left + box.w - 1 + margin - plan.srcCentreX;
  const double v0 = box.top - margin - plan.srcCentreY;
  const double v1 = box.top + box.h - 1 + margin - plan.srcCentreY;
  double left = HUGE_VAL, right = -HUGE_VAL, top = HUGE_VAL, bottom = -HUGE_VAL;
  for (const double u : {u0, u1}) {
    for (const double v : {v0, v1}) {
      const double x = plan.turn.cos * u - plan.turn.sin * v;
      const double y = plan.turn.sin * u + plan.turn.cos * v;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  const double x0 = std::max(plan.firstCol, std::floor(centreX + left) - 1);
  const double x1 = std::min(plan.lastCol, std::ceil(centreX + right) + 1);
  const double y0 = std::max(plan.firstRow, std::floor(centreY + top) - 1);
  const double y1 = std::min(plan.lastRow, std::ceil(centreY + bottom) + 1);
  if (x0 > x1 || y0 > y1) return {};
  return {static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1 - x0) + 1,
          static_cast<int>(y1 - y0) + 1};
}

// Row y's kept runs between columns from and to, their columns counted from anchorX.
void copyRuns(Image& dst, std::span<const TurnCache::Run> runs, const uint32_t* pixels,
              int64_t anchorX, int y, double from, double to) {
  for (const TurnCache::Run& run : runs) {
    const double start = std::max(from, static_cast<double>(run.from + anchorX));
    const double end = std::min(to, static_cast<double>(run.from + anchorX + run.length - 1));
    if (start > end) continue;
    const auto x = static_cast<int>(start);
    std::memcpy(&dst.at(x, y), pixels + run.at + (x - anchorX - run.from),
                sizeof(uint32_t) * static_cast<size_t>(end - start + 1));
  }
}

}  // namespace

void drawTurned(Image& dst, const TurnSource& src, TurnCache& cache, double centreX, double centreY,
                double degrees, std::span<const PixelBox> clips) {
  using Place = TurnCache::Place;
  if (dst.empty()) return;
  const TurnPlan plan(src, dst.w, dst.h, centreX, centreY, degrees);
  if (plan.empty) return;
  // Pictures far larger than the game's are drawn afresh each time rather than kept.
  const bool keep = int64_t{src.width()} * src.height() <= kLargestKept;
  TurnCache::Entry* kept = keep ? cache.entry(src, centreX, centreY, degrees) : nullptr;
  Place* place = kept != nullptr ? &kept->placeAt(centreX, centreY, dst.w) : nullptr;
  const int64_t anchorX = anchorOf(centreX), anchorY = anchorOf(centreY);
  // The kept row for row y, or -1 where there is none and the row is drawn afresh.
  const auto keptRow = [&](int y) { return kept != nullptr ? kept->rowIndex(y - anchorY) : -1; };
  const auto needsWalk = [&](int y) {
    const int64_t i = keptRow(y);
    return i < 0 || place->rows[static_cast<size_t>(i)].walk == Place::kUnknown;
  };
  // Nothing is drawn outside the box: its rows need no walk.
  const PixelBox box = boxOf(plan, src);
  // Made only for a row that is sampled.
  std::optional<OpaqueSampler> sampler;
  std::optional<OpaqueRows> opaqueRows;
  // The columns of row y that may be drawn, within the walk; false when none.
  const auto drawnColumns = [&](int y, const RowWalk& walk, double& from, double& to) {
    if (!sampler) {
      sampler.emplace(src);
      opaqueRows.emplace(src, plan.turn, centreX, centreY, plan.slack);
    }
    return opaqueSpan(plan, *opaqueRows, y, walk, from, to);
  };
  // First drawn at this place: whether the row walks as the kept one did, or else its own
  // pixels here, kept whole whatever the clip.
  const auto learnRow = [&](int y, const RowWalk* walk, const TurnCache::Row& row,
                            Place::RowState& state) {
    state = {Place::kOwn, 0, 0};
    if (walk == nullptr) return;
    if (row.walks && row.first == walk->first - anchorX && row.fx == walk->fx &&
        row.fy == walk->fy) {
      state.walk = Place::kKept;
      return;
    }
    double from = 0, to = 0;
    if (drawnColumns(y, *walk, from, to)) {
      keepRow(plan, *sampler, *walk, from, to, anchorX, place->runs, place->pixels, state.runAt,
              state.runCount);
    }
  };
  // Row y sampled within the clip's columns.
  const auto sampleAfresh = [&](int y, const RowWalk* walk, double clipFirst, double clipLast) {
    double from = 0, to = 0;
    if (walk == nullptr || !drawnColumns(y, *walk, from, to)) return;
    from = std::max(from, clipFirst);
    to = std::min(to, clipLast);
    if (from > to) return;
    const auto skipped = static_cast<int64_t>(from - walk->first);
    const RowWalk shifted{from, walk->last, walk->fx + plan.stepX * skipped,
                          walk->fy + plan.stepY * skipped};
    sampleRow(plan, *sampler, shifted, from, to, &dst.at(static_cast<int>(from), y));
  };
  for (const PixelBox& wanted : clips) {
    const PixelBox clip = intersection(wanted, box);
    const double clipFirst = std::max(plan.firstCol, static_cast<double>(clip.x));
    const double clipLast = std::min(plan.lastCol, static_cast<double>(clip.x) + clip.w - 1);
    const double rowFirst = std::max(plan.firstRow, static_cast<double>(clip.y));
    const double rowLast = std::min(plan.lastRow, static_cast<double>(clip.y) + clip.h - 1);
    if (clip.w <= 0 || clip.h <= 0) continue;
    if (clipFirst > clipLast) continue;
    // The walks of the rows that need one, a few rows at a time: each is a long chain of
    // dependent steps, and rows worked out side by side overlap in the processor.
    constexpr int kBatch = 16;
    std::array<RowWalk, kBatch> walks;
    std::array<bool, kBatch> walking{};
    const int firstRow = static_cast<int>(rowFirst), lastRow = static_cast<int>(rowLast);
    for (int y = firstRow; y <= lastRow; ++y) {
      const int slot = (y - firstRow) % kBatch;
      if (slot == 0) {
        for (int k = 0; k < kBatch && y + k <= lastRow; ++k) {
          walking[k] = needsWalk(y + k) && walkRow(plan, src, y + k, walks[k]);
        }
      }
      const RowWalk* walk = walking[slot] ? &walks[slot] : nullptr;
      const int64_t i = keptRow(y);
      if (i < 0) {
        sampleAfresh(y, walk, clipFirst, clipLast);
        continue;
      }
      const TurnCache::Row& row = kept->rows[static_cast<size_t>(i)];
      Place::RowState& state = place->rows[static_cast<size_t>(i)];
      if (state.walk == Place::kUnknown) learnRow(y, walk, row, state);
      // A walk holds every pixel it draws, and the clip keeps them on the screen.
      if (state.walk == Place::kKept) {
        copyRuns(dst, std::span(kept->runs).subspan(row.runAt, row.runCount), kept->pixels.data(),
                 anchorX, y, clipFirst, clipLast);
      } else {
        copyRuns(dst, std::span(place->runs).subspan(state.runAt, state.runCount),
                 place->pixels.data(), anchorX, y, clipFirst, clipLast);
      }
    }
  }
}

PixelBox turnedBox(const Image& dst, const TurnSource& src, double centreX, double centreY,
                   double degrees) {
  return boxOf(TurnPlan(src, dst.w, dst.h, centreX, centreY, degrees), src);
}

PixelBox turnedBox(const Image& dst, const TurnSource& src, double centreX, double centreY,
                   double degrees, int bandHeight, std::vector<PixelBox>& bands) {
  const TurnPlan plan(src, dst.w, dst.h, centreX, centreY, degrees);
  const PixelBox box = boxOf(plan, src);
  if (box.w <= 0 || box.h <= 0 || bandHeight <= 0) return box;
  // The columns each row may draw, narrowed as drawTurned narrows them before sampling:
  // whichever way a row is drawn, its pixels lie there.
  const OpaqueRows opaqueRows(src, plan.turn, centreX, centreY, plan.slack);
  // Each band is narrowed as rows from its first to the next band's first, so that each
  // band's edge is worked out once.
  OpaqueRows::Reach top = opaqueRows.reachAt(box.y);
  for (int y0 = box.y; y0 < box.y + box.h;) {
    const int y1 = std::min(box.y + box.h, (y0 / bandHeight + 1) * bandHeight) - 1;
    const OpaqueRows::Reach bottom = opaqueRows.reachAt(y1 + 1);
    double first = box.x, last = box.x + box.w - 1.0;
    if (opaqueRows.narrowBand(y0, y1 + 1, top, bottom, first, last)) {
      bands.push_back(
          {static_cast<int>(first), y0, static_cast<int>(last - first) + 1, y1 - y0 + 1});
    }
    top = bottom;
    y0 = y1 + 1;
  }
  return box;
}

PixelBox drawTurned(Image& dst, const Image& src, uint32_t key, double centreX, double centreY,
                    double degrees) {
  if (src.empty()) return {};
  return drawTurned(dst, TurnSource(src, key), centreX, centreY, degrees);
}
