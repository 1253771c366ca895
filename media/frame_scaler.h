// Stretches finished frames onto a window of another size, bilinearly (pixel centres
// aligned, edges clamped), and only where the frame changed: within the boxes said to have
// changed, only the pixels that differ from the frame scaled before (much is drawn again just
// as it was) are scaled again, with the window pixels that read them as neighbours, and a few
// rectangles of whole tiles around them are handed on to be shown (the window holds the
// frame's pixels everywhere, so showing more than was scaled shows the same). The same size
// is a plain copy, pixel for pixel: of tiles that differ, or of boxes said to be mostly new.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "media/backend.h"

class FrameScaler {
 public:
  // Frames of src (w x h) onto a window of dst (w x h); both at least 1 x 1.
  FrameScaler(Size src, Size dst);

  Size source() const { return src_; }
  Size target() const { return dst_; }
  // Frames of the window's own size are copied, not stretched.
  bool stretches() const { return !identity(); }

  // Scales what `changes` names of `frame` (src.w x src.h, XRGB) into `window` (dst.h rows
  // of `pitch` pixels) and returns the window's rectangles that were written.
  const std::vector<ScreenBox>& scale(const uint32_t* frame, const FrameChanges& changes,
                                      uint32_t* window, int pitch);

  // Scales the rectangle [x0, x1) x [y0, y1) of the window from the whole frame.
  void scaleRect(const uint32_t* frame, uint32_t* window, int pitch, const ScreenBox& rect);

  // Tiles of the frame, in pixels: the window is shown in whole tiles, and the same size
  // copies whole tiles.
  static constexpr int kTileW = 16, kTileH = 8;

 private:
  // Where a window column (or row) samples the frame: the first of the two source pixels
  // and the second's weight out of 256.
  struct Sample {
    int first;
    int weight;
  };
  // Changed tiles (or pixels) side by side in one row, from row y0 down.
  struct Run {
    int x0, x1, y0;
  };
  static std::vector<Sample> samples(int from, int to);
  // For each source index s (and one past the end), the first window index whose first
  // sample is s or later.
  static std::vector<int> firstTargets(const std::vector<Sample>& samples, int from);
  // A rectangle of the frame, in source pixels.
  struct Area {
    int x0, y0, x1, y1;
  };
  Area clipped(const ScreenBox& box, bool grown) const;
  void markTiles(std::span<const ScreenBox> boxes);
  void unite(std::span<const ScreenBox> boxes, bool grown);
  void keepOnlyWhatDiffers(const uint32_t* frame);
  void keepOnlyTilesThatDiffer(const uint32_t* frame);
  bool tileDiffers(const uint32_t* frame, int tx, int ty) const;
  void gatherRects();
  void addRect(int tileX0, int tileX1, int tileY0, int tileY1);
  bool identity() const { return src_.w == dst_.w && src_.h == dst_.h; }
  void horizontalPass(const uint32_t* row, int x0, int x1, int16_t* out) const;
  void verticalPass(const int16_t* upper, const int16_t* lower, int weight, int count,
                    uint32_t* out) const;

  Size src_, dst_;
  std::vector<Sample> columns_, rows_;
  std::vector<int> firstColumn_, firstRow_;
  // Each column's weights of its first and second pixel, four times (once a channel).
  std::vector<int16_t> leftWeights_, rightWeights_;
  int tilesX_, tilesY_;
  std::vector<uint8_t> tiles_;
  std::vector<ScreenBox> rects_;
  // Boxes united into areas that do not overlap; the boxes of pixels that really changed.
  std::vector<Area> areas_, reached_, crossing_;
  std::vector<ScreenBox> changed_;
  std::vector<int> bandEdges_;
  std::vector<Run> openRuns_, nextRuns_;  // kept between frames: no allocation per frame
  // The frame as last scaled, and whether it holds that one; whether any was scaled.
  std::vector<uint32_t> shown_;
  bool haveShown_ = false, scaledOnce_ = false;
  // Two source rows stretched horizontally (four 16-bit channels a pixel, 6 fraction bits).
  std::vector<int16_t> upper_, lower_;
};
