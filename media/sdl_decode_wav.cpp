#include <SDL.h>

#include "media/sdl_decode.h"

std::optional<std::vector<int16_t>> decodeWav(std::span<const uint8_t>, AudioFormat) {
  return std::nullopt;
}
