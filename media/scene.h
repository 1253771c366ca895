// The drawings that make up the back buffer's picture, kept from one frame to the next, so
// that a frame repaints only where its drawings differ from the last frame's. Every drawing
// sets each pixel it draws to a value of its own, whatever lay under it, so a pixel whose
// drawings (the same ones, in the same order) did not change keeps its value; the sea is
// restored only under what was drawn before and is not drawn the same way now, and whatever
// is drawn over such places is drawn again there, cut to them.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "media/backend.h"

// One drawing on the back buffer, with all that decides its pixels.
struct Drawing {
  // KeyedCopies: one small picture, keyed, at many places wholly on the screen, whose boxes
  // lie together in the scene's list of small boxes (from boxesAt on, boxesCount of them).
  enum class Kind : uint8_t { Fill, Copy, KeyedCopy, Turned, Text, RoundBox, Circle, KeyedCopies };
  Kind kind = Kind::Fill;
  bool small = false;    // a cannonball or a puff of smoke: drawn anew every frame
  int32_t source = 0;    // sprite or font number
  uint64_t version = 0;  // of that sprite or font; a picture that changes gets a new one
  int32_t x = 0, y = 0, w = 0, h = 0, rx = 0, ry = 0;
  uint32_t colour = 0;
  float angle = 0;
  uint32_t textAt = 0, textLength = 0;  // in the scene's text
  uint32_t boxesAt = 0, boxesCount = 0;
  ScreenBox box{};  // the pixels it may change, on the screen (none for KeyedCopies)
  // Boxes within `box` that hold those pixels too, in the scene's list of outlines; none for
  // the box alone. A ship that lies aslant fills half its box.
  uint32_t outlineAt = 0, outlineCount = 0;
};

// Carries out drawings, cut to clips.
class DrawingPainter {
 public:
  virtual ~DrawingPainter() = default;
  virtual void paint(const Drawing& drawing, std::string_view text,
                     std::span<const ScreenBox> clips) = 0;
  // The picture of a KeyedCopies drawing at the corner of each box, which is the picture's
  // own: thousands of cannonballs a frame.
  virtual void paintCopies(const Drawing& drawing, std::span<const ScreenBox> boxes) = 0;
  // The boxes a painting may change, before the first of its drawings; and its end, where a
  // painter that kept what lay there may append the boxes of what really changed and say so.
  virtual void aboutToPaint(std::span<const ScreenBox> /*boxes*/) {}
  virtual bool donePainting(std::vector<ScreenBox>& /*differing*/) { return false; }
};

class Scene {
 public:
  Scene(int w, int h);

  // A drawing to be made. One that covers the whole screen opaquely begins a new picture.
  // An outline, boxes within its box, holds every pixel it changes.
  void add(Drawing drawing, std::string_view text = {}, bool coversScreen = false,
           std::span<const ScreenBox> outline = {});
  // Outlines come in bands of this many rows, as tiles do, so that those of a ship before and
  // after a move share their edges.
  static constexpr int kOutlineBand = 8;
  // The part of [x, x + w) x [y, y + h) on the screen.
  ScreenBox onScreen(int64_t x, int64_t y, int64_t w, int64_t h) const {
    const int64_t left = std::clamp<int64_t>(x, 0, w_), top = std::clamp<int64_t>(y, 0, h_);
    const int64_t right = std::clamp<int64_t>(x + std::max<int64_t>(w, 0), 0, w_);
    const int64_t bottom = std::clamp<int64_t>(y + std::max<int64_t>(h, 0), 0, h_);
    return {static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
            static_cast<int>(bottom - top)};
  }
  // Drawings like `like`, of the given size, one at each place in turn, cut to the screen
  // (one cut away wholly is left out): a frame's thousands of cannonballs in one call.
  void addAt(const Drawing& like, Size size, std::span<const Point> at);
  // Whether drawings wait to be painted.
  bool waiting() const { return sameScene_ ? painted_ < shown_.drawings.size() : true; }
  // Brings the picture up to date: only where it changes, or all of it anew when that is
  // cheaper (or when repainting in part is off).
  void paint(DrawingPainter& painter);
  // What changed since the last call (everything at first), in storage of its own: valid
  // until the next call of anything else.
  FrameChanges takeChanges();
  // Off: every new picture is painted whole, to compare with.
  void repaintInPart(bool on) { inPart_ = on; }

 private:
  // At most this much of the screen repainted in part, or the whole is cheaper.
  static constexpr int64_t kWorthOfWhole = 2;  // half the screen
  // Tiles of the screen that hold repainted pixels, for what is drawn over them.
  static constexpr int kTileW = 16, kTileH = 8;
  static constexpr size_t kMaxChangedBoxes = 16384;
  static constexpr size_t kComparedSmallBoxes = 512;

  static constexpr int64_t kSmallPixels = 256;
  // Repainting a box costs its pixels and this, in pixels.
  static constexpr int64_t kCostPerBox = 64;
  struct List {
    std::vector<Drawing> drawings;
    std::string text;
    // Kept as drawings are added, so that a frame of thousands of balls is not searched for
    // its few large drawings: those after the first, and the small ones' boxes and cost.
    std::vector<size_t> large;
    std::vector<ScreenBox> smallBoxes;
    int64_t smallCost = 0;
    std::vector<ScreenBox> outlines;

    std::string_view textOf(const Drawing& d) const {
      return std::string_view(text).substr(d.textAt, d.textLength);
    }
    // Files drawing `at` under large or small by its box; true when small.
    bool note(size_t at, const ScreenBox& box) {
      const int64_t pixels = int64_t{box.w} * box.h;
      if (pixels > kSmallPixels) {
        if (at > 0) large.push_back(at);
        return false;
      }
      // The first drawing is the sea, never repainted for itself.
      if (at == 0) return true;
      smallBoxes.push_back(box);
      smallCost += pixels + kCostPerBox;
      return true;
    }
    // The boxes of a KeyedCopies drawing.
    std::span<const ScreenBox> boxesOf(const Drawing& d) const {
      return std::span(smallBoxes).subspan(d.boxesAt, d.boxesCount);
    }
    // Where a drawing may change pixels: its outline, or its box.
    std::span<const ScreenBox> outlineOf(const Drawing& d) const {
      if (d.outlineCount == 0) return {&d.box, 1};
      return std::span(outlines).subspan(d.outlineAt, d.outlineCount);
    }
    void keepOutline(Drawing& d, std::span<const ScreenBox> outline) {
      d.outlineAt = static_cast<uint32_t>(outlines.size());
      d.outlineCount = static_cast<uint32_t>(outline.size());
      outlines.insert(outlines.end(), outline.begin(), outline.end());
    }
    void clear() {
      drawings.clear();
      text.clear();
      large.clear();
      smallBoxes.clear();
      smallCost = 0;
      outlines.clear();
    }
  };
  static void append(List& list, Drawing drawing, std::string_view text);
  static bool same(const List& a, const Drawing& da, const List& b, const Drawing& db);

  // Forgets the shown picture's drawings that were never painted.
  void dropUnpainted();
  // Drawings of `list`, each whole, in order.
  static void paintEach(DrawingPainter& painter, const List& list,
                        std::span<const Drawing> drawings);
  void paintWhole(DrawingPainter& painter);
  bool paintInPart(DrawingPainter& painter);
  void matchLarge();
  // Boxes lie on the screen (never left of or above it): their tiles by shifts.
  void markTiles(std::span<const ScreenBox> boxes) {
    // Held apart from the marks, which as bytes could be anything as far as the compiler knows.
    uint8_t* const tiles = tiles_.data();
    const size_t tilesX = static_cast<size_t>(tilesX_);
    for (const ScreenBox& box : boxes) {
      if (box.w <= 0 || box.h <= 0) continue;
      const auto tile = [](int at, int size) { return static_cast<unsigned>(at) / size; };
      const unsigned tx0 = tile(box.x, kTileW), tx1 = tile(box.x + box.w - 1, kTileW);
      const unsigned ty0 = tile(box.y, kTileH), ty1 = tile(box.y + box.h - 1, kTileH);
      if (tx1 - tx0 > 1 || ty1 - ty0 > 1) {
        markManyTiles(tx0, tx1, ty0, ty1);
        continue;
      }
      // A ball's box lies in at most two by two tiles: four stores, no loop.
      uint8_t* row = tiles + ty0 * tilesX;
      row[tx0] = row[tx1] = 1;
      row += (ty1 - ty0) * tilesX;
      row[tx0] = row[tx1] = 1;
    }
  }
  void markManyTiles(unsigned tx0, unsigned tx1, unsigned ty0, unsigned ty1);
  // The runs of repainted tiles under `box`, cut to it; the gaps between them are taken in.
  void clipsFromTiles(const ScreenBox& box);
  void changed(std::span<const ScreenBox> boxes) { noteChanged(changes_, boxes); }
  // Boxes changed that the painter is not asked to compare: they count as they are, and so
  // they join what it found.
  void changedWithoutCompare(std::span<const ScreenBox> boxes) { noteChanged(differing_, boxes); }
  void noteChanged(std::vector<ScreenBox>& list, std::span<const ScreenBox> boxes) {
    if (changedAll_) return;
    list.insert(list.end(), boxes.begin(), boxes.end());
    if (changes_.size() + differing_.size() > kMaxChangedBoxes) changedEverything();
  }
  void changedEverything();
  // Tells the painter the boxes named changed from `first` on, which it is about to paint.
  bool announce(DrawingPainter& painter, size_t first) {
    if (changedAll_) return false;
    painter.aboutToPaint(std::span(changes_).subspan(first));
    return true;
  }
  void donePainting(DrawingPainter& painter, bool announced) {
    if (announced && !changedAll_ && !painter.donePainting(differing_)) compared_ = false;
  }

  int w_, h_;
  bool inPart_ = true;
  // The picture on the back buffer; drawings appended to it wait from painted_ on.
  List shown_;
  size_t painted_ = 0;
  // True until a drawing begins a new picture, which is then gathered in next_.
  bool sameScene_ = true;
  List next_;

  std::vector<uint8_t> matchedShown_, matchedNext_;
  int tilesX_, tilesY_;
  std::vector<uint8_t> tiles_;
  std::vector<ScreenBox> restore_, clips_;

  bool changedAll_ = true;
  std::vector<ScreenBox> changes_, handedOut_;
  // What the painter found really changed within changes_, with the boxes never compared;
  // and whether it found that for every painting since the changes were last taken.
  std::vector<ScreenBox> differing_;
  bool compared_ = true;
};
