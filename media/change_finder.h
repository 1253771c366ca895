// Which pixels a painting really changed. The boxes about to be painted are kept first and
// compared once the painting is done: a ship that moved less than a pixel, or the sea painted
// again where a ball flew over sea, changes nothing there. Boxes that overlap (a ship's place
// now and a frame before) are kept once, as bands of kBand rows.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "media/backend.h"
#include "media/image.h"

class ChangeFinder {
 public:
  static constexpr int kBand = 8;

  // Keeps what `image` holds now in the boxes (cut to it).
  void keep(const Image& image, std::span<const ScreenBox> boxes);
  // Appends boxes that hold every kept pixel that differs in `image` now, at most one for each
  // band of a kept box, and forgets the kept pixels.
  void compare(const Image& image, std::vector<ScreenBox>& out);

 private:
  void sortByBandAndColumn();

  struct Piece {
    uint64_t order;  // band above column
    ScreenBox box;
  };
  std::vector<ScreenBox> kept_;
  std::vector<Piece> order_;
  std::vector<uint32_t> pixels_;
};
