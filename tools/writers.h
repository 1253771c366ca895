// Writers for the three file formats the game embeds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "raster.h"

namespace gen {

// 24-bit uncompressed Windows bitmap.
void writeBmp(const std::string& path, const Picture& picture);

// RIFF WAVE, PCM, mono, 8-bit unsigned samples.
void writeWav(const std::string& path, int sampleRate, const std::vector<uint8_t>& samples);

// Baseline JFIF JPEG with three components (YCbCr).
void writeJpeg(const std::string& path, const Picture& picture, int quality);

}  // namespace gen
