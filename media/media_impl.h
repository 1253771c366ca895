// What the Media object holds, shared by the files that carry out its services: the screen
// and window, painting the back buffer, sprites, shapes and text, sound, and input.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <random>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "media/backend.h"
#include "media/change_finder.h"
#include "media/compositor.h"
#include "media/decoded_sounds.h"
#include "media/frame_pacer.h"
#include "media/image.h"
#include "media/keyboard.h"
#include "media/media.h"
#include "media/mixer.h"
#include "media/numbered_table.h"
#include "media/scene.h"
#include "media/sdl_text.h"
#include "media/sprite.h"
#include "media/text_cache.h"

inline constexpr uint64_t kFramePeriodMicros = 16667;  // 60 frames per second
inline constexpr AudioFormat kWantedAudio{44100, 2};

// Hands the audio device's pulls to the mixer once there is one, silence before that.
class AudioOutlet : public AudioSource {
 public:
  void connect(Mixer* mixer, int channels) {
    mixer_ = mixer;
    channels_ = channels;
  }
  void render(int16_t* out, int frames) override {
    if (mixer_ != nullptr) {
      mixer_->render(out, frames);
      return;
    }
    std::fill_n(out, static_cast<size_t>(std::max(frames, 0)) * channels_, int16_t{0});
  }

 private:
  Mixer* mixer_ = nullptr;
  int channels_ = kWantedAudio.channels;
};

inline std::unique_ptr<TextRenderer> makeTextRenderer() {
  try {
    return std::make_unique<TextRenderer>();
  } catch (...) {
    return nullptr;  // no text: drawText draws nothing
  }
}

inline uint32_t packed(Rgb c) { return packRgb(c.r, c.g, c.b); }

struct Media::Impl : DrawingPainter {
  explicit Impl(std::unique_ptr<Backend> platform, uint32_t randomSeed)
      : backend(std::move(platform)),
        seed(randomSeed != 0 ? randomSeed : std::random_device{}()),
        random(seed),
        text(makeTextRenderer()) {}
  ~Impl() override { closeAudio(); }

  void openAudio();
  void closeAudio();
  // Thousands of lookups a frame, one for every cannonball.
  Sprite* sprite(int n) { return sprites.find(n); }
  Sprite* spriteToChange(int n);
  uint64_t newVersion() { return ++versions; }
  Image* drawingTarget();
  // A drawing of the back buffer, made when the picture is next brought up to date.
  void draw(Drawing drawing, int64_t x, int64_t y, int64_t w, int64_t h, std::string_view text = {},
            std::span<const ScreenBox> outline = {});
  // Carries out every drawing that waits.
  void bringUpToDate() {
    if (scene.waiting()) scene.paint(*this);
  }
  void paint(const Drawing& d, std::string_view text, std::span<const ScreenBox> clips) override;
  void paintCopies(const Drawing& drawing, std::span<const ScreenBox> boxes) override;
  // Only the pixels that really change are shown again, where the presenter wants that.
  void aboutToPaint(std::span<const ScreenBox> boxes) override {
    comparing = backend->wantsComparedChanges();
    if (comparing) changeFinder.keep(backBuffer, boxes);
  }
  bool donePainting(std::vector<ScreenBox>& differing) override {
    if (comparing) changeFinder.compare(backBuffer, differing);
    return comparing;
  }

  std::unique_ptr<Backend> backend;
  // Written only by paint(), as the scene asks.
  Image backBuffer{kScreenWidth, kScreenHeight};
  Scene scene{kScreenWidth, kScreenHeight};
  ChangeFinder changeFinder;
  bool comparing = false;
  uint64_t versions = 0;
  std::vector<PixelBox> turnClips, outline;
  NumberedTable<Sprite> sprites;
  NumberedTable<Rotatable> rotatables;

  AudioOutlet outlet;
  DecodedSounds decodedSounds;
  std::unique_ptr<Mixer> mixer;
  bool audioOpen = false;

  uint32_t seed;
  std::mt19937 random;
  // Frames simulated again after a late input: nothing is drawn, played, shown or waited for.
  bool silent = false;
  std::vector<std::pair<int, int>>* capturedSounds = nullptr;
  Keyboard keyboard;
  std::vector<PadState> pads;
  int players = 1;
  FramePacer pacer{kFramePeriodMicros};
  // A loop that pauses between frames waits out a frame's pacing in that pause rather than
  // straight after the frame: each wake-up costs, and one a frame is enough. Until when
  // (microseconds, 0 for no wait), and whether the loop paused since the last frame.
  uint64_t pacedUntil = 0;
  bool pausedSinceFrame = false;

  std::unique_ptr<TextRenderer> text;
  TextCache textCache;
  std::map<int, uint64_t> loadedFonts;  // with their versions; the default font has 0
  int currentFont = TextRenderer::kDefaultFont;
  // Where fillBox and friends draw: nothing, the back buffer, or sprite `targetSprite`.
  enum class Target { None, BackBuffer, Sprite } target = Target::None;
  int targetSprite = 0;
};
