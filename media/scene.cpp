#include "media/scene.h"

#include <algorithm>
#include <cstring>

Scene::Scene(int w, int h)
    : w_(w),
      h_(h),
      tilesX_((w + kTileW - 1) / kTileW),
      tilesY_((h + kTileH - 1) / kTileH),
      tiles_(static_cast<size_t>(tilesX_) * tilesY_) {}

void Scene::append(List& list, Drawing drawing, std::string_view text) {
  drawing.textAt = static_cast<uint32_t>(list.text.size());
  drawing.textLength = static_cast<uint32_t>(text.size());
  if (!text.empty()) list.text.append(text);
  list.drawings.push_back(drawing);
}

bool Scene::same(const List& a, const Drawing& da, const List& b, const Drawing& db) {
  return da.kind == db.kind && da.source == db.source && da.version == db.version && da.x == db.x &&
         da.y == db.y && da.w == db.w && da.h == db.h && da.rx == db.rx && da.ry == db.ry &&
         da.colour == db.colour && std::memcmp(&da.angle, &db.angle, sizeof da.angle) == 0 &&
         a.textOf(da) == b.textOf(db);
}

void Scene::add(Drawing drawing, std::string_view text, bool coversScreen,
                std::span<const ScreenBox> outline) {
  if (coversScreen) {
    // Whatever was drawn since the last painting lies under it and is never seen.
    if (sameScene_) dropUnpainted();
    sameScene_ = false;
    next_.clear();
  } else if (drawing.box.w <= 0 || drawing.box.h <= 0) {
    return;  // changes no pixel
  }
  List& list = sameScene_ ? shown_ : next_;
  drawing.small = list.note(list.drawings.size(), drawing.box);
  // A small drawing's box is hardly more than its outline.
  if (!drawing.small) list.keepOutline(drawing, outline);
  append(list, drawing, text);
}

void Scene::addAt(const Drawing& like, Size size, std::span<const Point> at) {
  if (size.w <= 0 || size.h <= 0) return;
  List& list = sameScene_ ? shown_ : next_;
  const int64_t pixels = int64_t{size.w} * size.h;
  const bool small = pixels <= kSmallPixels;
  // Held apart from the boxes written meanwhile, which as ints could be these.
  const int lastX = w_ - size.w, lastY = h_ - size.h;
  // The KeyedCopies drawing the next place wholly on the screen joins: the last drawing, if
  // it is one of this picture whose boxes end the list and it waits to be painted.
  Drawing* run = nullptr;
  if (!list.drawings.empty() && (!sameScene_ || painted_ < list.drawings.size())) {
    Drawing& last = list.drawings.back();
    if (last.kind == Drawing::Kind::KeyedCopies && last.source == like.source &&
        last.version == like.version && last.boxesAt + last.boxesCount == list.smallBoxes.size()) {
      run = &last;
    }
  }
  for (const Point& p : at) {
    if (small && p.x >= 0 && p.y >= 0 && p.x <= lastX && p.y <= lastY && !list.drawings.empty()) {
      // Wholly on the screen, after the sea: the usual cannonball, a box in a run.
      if (run == nullptr) {
        run = &list.drawings.emplace_back(like);
        run->kind = Drawing::Kind::KeyedCopies;
        run->small = true;
        run->textAt = static_cast<uint32_t>(list.text.size());
        run->textLength = 0;
        run->boxesAt = static_cast<uint32_t>(list.smallBoxes.size());
        run->boxesCount = 0;
        run->box = {};
      }
      list.smallBoxes.push_back({p.x, p.y, size.w, size.h});
      list.smallCost += pixels + kCostPerBox;
      ++run->boxesCount;
      continue;
    }
    const ScreenBox box = onScreen(p.x, p.y, size.w, size.h);
    if (box.w <= 0 || box.h <= 0) continue;
    Drawing d = like;
    d.x = p.x;
    d.y = p.y;
    d.textAt = static_cast<uint32_t>(list.text.size());
    d.textLength = 0;
    d.box = box;
    d.small = list.note(list.drawings.size(), d.box);
    list.drawings.push_back(d);
    run = nullptr;
  }
}

void Scene::dropUnpainted() {
  if (painted_ == shown_.drawings.size()) return;
  List kept;
  kept.text = std::move(shown_.text);
  for (size_t i = 0; i < painted_; ++i) {
    Drawing d = shown_.drawings[i];
    if (d.kind == Drawing::Kind::KeyedCopies) {
      const std::span<const ScreenBox> boxes = shown_.boxesOf(d);
      d.boxesAt = static_cast<uint32_t>(kept.smallBoxes.size());
      kept.smallBoxes.insert(kept.smallBoxes.end(), boxes.begin(), boxes.end());
      for (const ScreenBox& b : boxes) kept.smallCost += int64_t{b.w} * b.h + kCostPerBox;
    } else {
      d.small = kept.note(i, d.box);
      if (d.outlineCount > 0) {
        kept.keepOutline(d, std::span(shown_.outlines).subspan(d.outlineAt, d.outlineCount));
      }
    }
    kept.drawings.push_back(d);
  }
  shown_ = std::move(kept);
}

void Scene::paintEach(DrawingPainter& painter, const List& list,
                      std::span<const Drawing> drawings) {
  for (const Drawing& d : drawings) {
    if (d.kind == Drawing::Kind::KeyedCopies) {
      painter.paintCopies(d, list.boxesOf(d));
    } else {
      painter.paint(d, list.textOf(d), {&d.box, 1});
    }
  }
}

void Scene::paint(DrawingPainter& painter) {
  if (sameScene_) {
    // Drawn over the picture as it stands.
    const std::span<const Drawing> waiting = std::span(shown_.drawings).subspan(painted_);
    const size_t first = changes_.size();
    for (const Drawing& d : waiting) {
      if (d.kind != Drawing::Kind::KeyedCopies) changed(shown_.outlineOf(d));
    }
    const bool announced = announce(painter, first);
    for (const Drawing& d : waiting) {
      if (d.kind == Drawing::Kind::KeyedCopies) changedWithoutCompare(shown_.boxesOf(d));
    }
    paintEach(painter, shown_, waiting);
    donePainting(painter, announced);
    painted_ = shown_.drawings.size();
    return;
  }
  if (!inPart_ || !paintInPart(painter)) paintWhole(painter);
  std::swap(shown_, next_);
  next_.clear();
  sameScene_ = true;
  painted_ = shown_.drawings.size();
}

void Scene::paintWhole(DrawingPainter& painter) {
  paintEach(painter, next_, next_.drawings);
  changedEverything();
}

// Repaints where the new picture's drawings differ from the shown one's. A pixel that no
// drawing added, moved or dropped touches has the same drawings over it as before, in the same
// order (the matching keeps the order), and so its value. Each such drawing is painted whole;
// the first one, the sea, is painted again only under the dropped ones; every other drawing
// that stays is painted again where its tiles hold pixels painted before it this frame. From
// the first painting of a pixel on, everything over it is painted there too, so it ends as the
// last drawing over it leaves it.
bool Scene::paintInPart(DrawingPainter& painter) {
  const std::vector<Drawing>& was = shown_.drawings;
  const std::vector<Drawing>& now = next_.drawings;
  if (was.empty() || !same(shown_, was[0], next_, now[0])) return false;
  matchLarge();
  // The small drawings are never matched: all of them count, and all the shown ones go.
  int64_t cost = shown_.smallCost + next_.smallCost;
  // The shown picture is given up after this painting: its list of boxes is taken over.
  restore_.swap(shown_.smallBoxes);
  shown_.smallBoxes.clear();
  const size_t smallRestored = restore_.size();
  for (const size_t k : shown_.large) {
    if (matchedShown_[k]) continue;
    const std::span<const ScreenBox> outline = shown_.outlineOf(was[k]);
    restore_.insert(restore_.end(), outline.begin(), outline.end());
    cost += int64_t{was[k].box.w} * was[k].box.h + kCostPerBox;
  }
  for (const size_t j : next_.large) {
    if (!matchedNext_[j]) cost += int64_t{now[j].box.w} * now[j].box.h + kCostPerBox;
  }
  if (cost > int64_t{w_} * h_ / kWorthOfWhole) return false;

  // Every box this painting changes, named before it begins, to be compared; not among
  // thousands of balls, where much changes anyway and comparing would cost more than it saves.
  const bool compare = smallRestored + next_.smallBoxes.size() <= kComparedSmallBoxes;
  const auto name = [&](std::span<const ScreenBox> boxes) {
    compare ? changed(boxes) : changedWithoutCompare(boxes);
  };
  const size_t first = changes_.size();
  name(restore_);
  name(next_.smallBoxes);
  for (const size_t k : next_.large) {
    if (!matchedNext_[k]) name(next_.outlineOf(now[k]));
  }
  const bool announced = compare && announce(painter, first);

  std::fill(tiles_.begin(), tiles_.end(), uint8_t{0});
  if (!restore_.empty()) painter.paint(now[0], next_.textOf(now[0]), restore_);
  markTiles(restore_);
  // The small new drawings (thousands of balls) are marked at once, from their own list: a
  // drawing that stays and lies before one of them is then painted again under it too, which
  // is more than needed but changes no pixel, as everything over it there is painted again.
  markTiles(next_.smallBoxes);
  size_t large = 0;  // the next of the new picture's large drawings
  for (size_t j = 1; j < now.size(); ++j) {
    const Drawing& d = now[j];
    if (!matchedNext_[j]) {
      // New drawings side by side are painted in turn, then the large ones among them marked.
      size_t end = j + 1;
      while (end < now.size() && !matchedNext_[end]) ++end;
      paintEach(painter, next_, {now.data() + j, end - j});
      for (; large < next_.large.size() && next_.large[large] < end; ++large) {
        const size_t k = next_.large[large];
        if (k < j) continue;  // one that stays, before this run
        markTiles(next_.outlineOf(now[k]));
      }
      j = end - 1;
      continue;
    }
    clipsFromTiles(d.box);
    if (!clips_.empty()) painter.paint(d, next_.textOf(d), clips_);
  }
  donePainting(painter, announced);
  return true;
}

// Pairs each large drawing of the new picture with the next equal one of the shown picture, in
// order; the first drawings (the sea) were found equal before. Small ones, the cannonballs,
// move in every frame and are never paired: they are drawn anew.
void Scene::matchLarge() {
  const std::vector<Drawing>& was = shown_.drawings;
  const std::vector<Drawing>& now = next_.drawings;
  const std::vector<size_t>& largeWas = shown_.large;
  matchedShown_.assign(was.size(), 0);
  matchedNext_.assign(now.size(), 0);
  matchedShown_[0] = matchedNext_[0] = 1;
  constexpr size_t kLookAhead = 32;
  size_t at = 0;
  for (const size_t j : next_.large) {
    for (size_t k = at; k < largeWas.size() && k < at + kLookAhead; ++k) {
      if (!same(shown_, was[largeWas[k]], next_, now[j])) continue;
      matchedShown_[largeWas[k]] = matchedNext_[j] = 1;
      at = k + 1;
      break;
    }
  }
}

void Scene::markManyTiles(unsigned tx0, unsigned tx1, unsigned ty0, unsigned ty1) {
  uint8_t* row = tiles_.data() + size_t{ty0} * tilesX_;
  for (unsigned ty = ty0; ty <= ty1; ++ty, row += tilesX_) {
    std::fill(row + tx0, row + tx1 + 1, uint8_t{1});
  }
}

void Scene::clipsFromTiles(const ScreenBox& box) {
  clips_.clear();
  const int tx0 = box.x / kTileW, tx1 = (box.x + box.w - 1) / kTileW;
  for (int ty = box.y / kTileH; ty <= (box.y + box.h - 1) / kTileH; ++ty) {
    uint8_t* row = tiles_.data() + static_cast<size_t>(ty) * tilesX_;
    int first = tx0;
    while (first <= tx1 && row[first] == 0) ++first;
    if (first > tx1) continue;
    int last = tx1;
    while (row[last] == 0) --last;
    std::fill(row + first, row + last + 1, uint8_t{1});
    const int x0 = std::max(box.x, first * kTileW);
    const int x1 = std::min(box.x + box.w, (last + 1) * kTileW);
    const int y0 = std::max(box.y, ty * kTileH);
    const int y1 = std::min(box.y + box.h, (ty + 1) * kTileH);
    ScreenBox* above = clips_.empty() ? nullptr : &clips_.back();
    if (above != nullptr && above->x == x0 && above->w == x1 - x0 && above->y + above->h == y0) {
      above->h += y1 - y0;
    } else {
      clips_.push_back({x0, y0, x1 - x0, y1 - y0});
    }
  }
}

void Scene::changedEverything() {
  changedAll_ = true;
  changes_.clear();
  differing_.clear();
}

FrameChanges Scene::takeChanges() {
  FrameChanges changes{changedAll_, {}, true};
  changes.compared = compared_ && !changedAll_;
  // Uncompared, every box named counts: those never to be compared lie in differing_ alone.
  if (!changes.compared) changes_.insert(changes_.end(), differing_.begin(), differing_.end());
  handedOut_.swap(changes.compared ? differing_ : changes_);
  changes_.clear();
  differing_.clear();
  if (!changes.everything) changes.boxes = handedOut_;
  changedAll_ = false;
  compared_ = true;
  return changes;
}
