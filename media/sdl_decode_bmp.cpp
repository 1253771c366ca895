#include <SDL.h>

#include <limits>
#include <memory>

#include "media/sdl_decode.h"

namespace {

struct SurfaceDeleter {
  void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

Image copyPixels(SDL_Surface* surface) {
  Image image(surface->w, surface->h);
  const auto* rows = static_cast<const uint8_t*>(surface->pixels);
  for (int y = 0; y < surface->h; ++y) {
    const auto* row =
        reinterpret_cast<const uint32_t*>(rows + static_cast<size_t>(y) * surface->pitch);
    // The unused byte is not guaranteed to be 0 after conversion.
    for (int x = 0; x < surface->w; ++x) image.at(x, y) = row[x] & 0x00FFFFFF;
  }
  return image;
}

}  // namespace

std::optional<Image> decodeBmp(std::span<const uint8_t> bytes) {
  if (bytes.empty() || bytes.size() > static_cast<size_t>(std::numeric_limits<int>::max())) {
    return std::nullopt;
  }
  SDL_RWops* stream = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  if (stream == nullptr) return std::nullopt;
  const SurfacePtr loaded(SDL_LoadBMP_RW(stream, 1));
  if (!loaded || loaded->w <= 0 || loaded->h <= 0) return std::nullopt;
  const SurfacePtr converted(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_XRGB8888, 0));
  if (!converted) return std::nullopt;
  if (SDL_LockSurface(converted.get()) != 0) return std::nullopt;
  Image image = copyPixels(converted.get());
  SDL_UnlockSurface(converted.get());
  return image;
}
