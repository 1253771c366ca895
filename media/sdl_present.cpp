// The frames on their way to the window: the presenter chosen with the window, the screen
// attached to it, and each frame shown.
#include <SDL.h>

#include <cstdio>
#include <memory>
#include <string_view>

#include "media/frame_scaler.h"
#include "media/sdl_backend.h"

namespace {

// Whether a renderer's OpenGL is Mesa's software rasteriser (llvmpipe, softpipe, swrast): it
// takes many times longer to upload and stretch the frame than SDL's own software renderer.
bool drawsWithSoftwareOpenGl(SDL_Renderer* renderer) {
  SDL_RendererInfo info{};
  if (SDL_GetRendererInfo(renderer, &info) != 0) return false;
  if (std::string_view(info.name).substr(0, 6) != "opengl") return false;  // opengl, opengles2
  if (SDL_GL_GetCurrentContext() == nullptr) return false;
  using GetString = const unsigned char* (*)(unsigned name);
  const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
  if (getString == nullptr) return false;
  constexpr unsigned kGlRenderer = 0x1F01;
  const auto* name = reinterpret_cast<const char*>(getString(kGlRenderer));
  if (name == nullptr) return false;
  const std::string_view implementation = name;
  for (const std::string_view software :
       {"llvmpipe", "softpipe", "Software Rasterizer", "swrast"}) {
    if (implementation.find(software) != std::string_view::npos) return true;
  }
  return false;
}

}  // namespace

// The graphics card's renderer when there is one, else our scaler on the window's surface,
// else SDL's software renderer.
bool SdlBackend::choosePresenter(bool tryGraphicsCard) {
  if (tryGraphicsCard) {
    renderer_ =
        SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
  }
  if (renderer_ != nullptr && drawsWithSoftwareOpenGl(renderer_)) {
    SDL_DestroyRenderer(renderer_);
    renderer_ = nullptr;
  }
  if (renderer_ == nullptr && canDrawOnSurface()) {
    onSurface_ = true;
    showWhole_ = true;
    SDL_AddEventWatch(&SdlBackend::watchWindow, this);
  }
  if (renderer_ == nullptr && !onSurface_) {
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE | SDL_RENDERER_PRESENTVSYNC);
  }
  return renderer_ != nullptr || onSurface_;
}

// Without a graphics card the window's own surface (shared memory with the X server) takes
// the frames, stretched by our scaler only where they changed: SDL's software renderer
// would stretch every pixel of every frame. It must hold pixels as the frames do.
bool SdlBackend::canDrawOnSurface() {
  const SDL_Surface* surface = SDL_GetWindowSurface(window_);
  if (surface == nullptr || surface->w < 1 || surface->h < 1) return false;
  const uint32_t format = surface->format->format;
  return format == SDL_PIXELFORMAT_RGB888 || format == SDL_PIXELFORMAT_ARGB8888;
}

// Called by SDL for every event as it is queued, whoever takes it from the queue later.
int SdlBackend::watchWindow(void* backend, SDL_Event* event) {
  auto* self = static_cast<SdlBackend*>(backend);
  if (event->type != SDL_WINDOWEVENT || self->window_ == nullptr ||
      event->window.windowID != SDL_GetWindowID(self->window_)) {
    return 0;
  }
  switch (event->window.event) {
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_RESIZED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED:
      self->showWhole_ = true;
      break;
    default:
      break;
  }
  return 0;
}

bool SdlBackend::openScreen(int w, int h) {
  if (onSurface_) {
    if (w < 2 || h < 2) return false;  // the scaler blends pairs of pixels
    scaler_.reset();
    showWhole_ = true;
    screen_ = {w, h};
    return true;
  }
  if (renderer_ == nullptr) return false;
  if (texture_ != nullptr) SDL_DestroyTexture(texture_);
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");  // read when the texture is made
  // XRGB, exactly the back buffer's layout and the X window's: no conversion on the way.
  texture_ =
      SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, w, h);
  if (texture_ == nullptr) return false;
  // The frames are XRGB with a zero top byte: blending would make them transparent.
  SDL_SetTextureBlendMode(texture_, SDL_BLENDMODE_NONE);
  screen_ = {w, h};
  return true;
}

void SdlBackend::closeScreen() {
  if (texture_ != nullptr) SDL_DestroyTexture(texture_);
  if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
  texture_ = nullptr;
  renderer_ = nullptr;
  scaler_.reset();
  screen_ = {};
}

void SdlBackend::present(const uint32_t* pixels, int w, int h) {
  presentChanges(pixels, w, h, FrameChanges{});
}

void SdlBackend::presentChanges(const uint32_t* pixels, int w, int h, const FrameChanges& changes) {
  if (onSurface_ && pixels != nullptr && w == screen_.w && h == screen_.h) {
    presentOnSurface(pixels, changes);
    countFrame();
  } else if (texture_ != nullptr && pixels != nullptr && w == screen_.w && h == screen_.h) {
    SDL_UpdateTexture(texture_, nullptr, pixels, w * static_cast<int>(sizeof(uint32_t)));
    // Covers the whole window (stretched on both axes), so nothing needs clearing first.
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
    countFrame();
  }
  // No pump here: every frame loop pumps when it reads the keys.
}

bool SdlBackend::wantsComparedChanges() const {
  return onSurface_ && scaler_ != nullptr && scaler_->stretches();
}

void SdlBackend::presentOnSurface(const uint32_t* pixels, const FrameChanges& changes) {
  SDL_Surface* surface = SDL_GetWindowSurface(window_);  // made anew after a resize
  if (surface == nullptr) {
    showWhole_ = true;  // this frame's changes are lost with it
    return;
  }
  const Size window{surface->w, surface->h};
  if (scaler_ == nullptr || scaler_->target().w != window.w || scaler_->target().h != window.h) {
    scaler_ = std::make_unique<FrameScaler>(screen_, window);
    showWhole_ = true;
  }
  const bool whole = showWhole_.exchange(false);
  if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) {
    showWhole_ = true;
    return;
  }
  const std::vector<ScreenBox>& rects =
      scaler_->scale(pixels, whole ? FrameChanges{} : changes,
                     static_cast<uint32_t*>(surface->pixels), surface->pitch / 4);
  if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
  if (rects.empty()) return;
  static_assert(sizeof(ScreenBox) == sizeof(SDL_Rect));
  SDL_UpdateWindowSurfaceRects(window_, reinterpret_cast<const SDL_Rect*>(rects.data()),
                               static_cast<int>(rects.size()));
}

std::optional<uint32_t> SdlBackend::shownPixel(int x, int y) const {
  if (onSurface_) {
    const SDL_Surface* surface = SDL_GetWindowSurface(window_);
    if (surface == nullptr || x < 0 || y < 0 || x >= surface->w || y >= surface->h) return {};
    const auto* row = static_cast<const uint8_t*>(surface->pixels) + ptrdiff_t{y} * surface->pitch;
    return reinterpret_cast<const uint32_t*>(row)[x] & 0xFFFFFF;
  }
  uint32_t pixel = 0;
  const SDL_Rect one{x, y, 1, 1};
  if (renderer_ == nullptr ||
      SDL_RenderReadPixels(renderer_, &one, SDL_PIXELFORMAT_ARGB8888, &pixel, 4) != 0) {
    return {};
  }
  return pixel & 0xFFFFFF;
}

void SdlBackend::countFrame() {
  ++framesShown_;
  if (frameLog_ != nullptr) {
    std::fprintf(frameLog_, "%llu\n", static_cast<unsigned long long>(framesShown_));
    std::fflush(frameLog_);
  }
}

std::string SdlBackend::rendererName() const {
  if (onSurface_) return "window surface";
  SDL_RendererInfo info{};
  if (renderer_ == nullptr || SDL_GetRendererInfo(renderer_, &info) != 0) return "";
  return info.name;
}
