// The title picture: a JFIF file decoded from memory into 8-bit RGB.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

struct RgbPicture {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;  // rows top to bottom, 3 bytes a pixel, no padding
};

// None when the data is not a JPEG libjpeg can decode, or is implausibly large.
std::optional<RgbPicture> decodeJpeg(std::span<const uint8_t> jpeg);
