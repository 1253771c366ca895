// Writers for the file formats the game embeds or installs.
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

// PNG, 8-bit RGBA, deflated: the desktop's icons.
void writePng(const std::string& path, const RgbaPicture& picture);

// A text file as it is, for the scalable icon.
void writeText(const std::string& path, const std::string& text);

}  // namespace gen
