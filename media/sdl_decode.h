// Decoding of the embedded files through SDL (no SDL initialisation needed).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "media/backend.h"
#include "media/image.h"

// A Windows bitmap as XRGB pixels; nullopt when the bytes are not a readable bitmap.
std::optional<Image> decodeBmp(std::span<const uint8_t> bytes);

// A RIFF WAVE converted to signed 16-bit interleaved samples in the given format;
// nullopt when the bytes are not a readable WAVE.
std::optional<std::vector<int16_t>> decodeWav(std::span<const uint8_t> bytes, AudioFormat to);
