#include "media/media.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <span>
#include <vector>

#include "media/compositor.h"
#include "media/frame_pacer.h"
#include "media/image.h"
#include "media/keyboard.h"
#include "media/mixer.h"
#include "media/numbered_table.h"
#include "media/scene.h"
#include "media/sdl_decode.h"
#include "media/sdl_text.h"

namespace {

// Largest sprite createSprite makes: far above any picture of the game, far below what would
// exhaust memory.
constexpr int kMaxSpriteSide = 16384;
constexpr int64_t kMaxSpritePixels = int64_t{1} << 25;

constexpr uint64_t kFramePeriodMicros = 16667;  // 60 frames per second
constexpr AudioFormat kWantedAudio{44100, 2};
// Sounds loaded while there is no audio device are only checked; any format will do.
constexpr AudioFormat kCheckFormat{22050, 1};

struct Sprite {
  explicit Sprite(Image picture, bool canTurn = false)
      : image(std::move(picture)), rotatable(canTurn) {}

  Image image;
  uint32_t key = 0;  // transparent colour
  bool rotatable = false;
  // Told apart from every other picture and every earlier state of this one: drawings of the
  // back buffer are compared by it.
  uint64_t version = 0;
  // The picture made ready for turned drawing, its turned drawings kept by angle, and the
  // colour of all its pixels if they share one, each made on first use and forgotten when
  // the picture changes.
  std::unique_ptr<const TurnSource> turnSource;
  TurnCache turned;
  std::optional<std::optional<uint32_t>> colourOfAll;
  // A small picture's opaque pixels, one or two side by side, each with its place counted
  // from the corner on an image `stride` pixels wide: a cannonball is drawn by a handful of
  // stores.
  struct Dot {
    ptrdiff_t at = 0;
    bool two = false;
    uint32_t value[2] = {0, 0};

    void drawAt(uint32_t* corner) const {
      if (two) {
        std::memcpy(corner + at, value, sizeof value);
      } else {
        corner[at] = value[0];
      }
    }
  };
  std::optional<std::vector<Dot>> dots;

  const TurnSource& turnReady() {
    if (!turnSource) turnSource = std::make_unique<const TurnSource>(image, key);
    return *turnSource;
  }

  const std::optional<uint32_t>& soleColourReady() {
    if (!colourOfAll) colourOfAll = soleColour(image);
    return *colourOfAll;
  }

  const std::vector<Dot>& dotsReady(int stride) {
    if (!dots) {
      dots.emplace();
      for (int y = 0; y < image.h; ++y) {
        for (int x = 0; x < image.w; ++x) {
          const uint32_t p = image.at(x, y);
          if (isKey(p, key)) continue;
          Dot* left = dots->empty() ? nullptr : &dots->back();
          if (left != nullptr && !left->two && left->at == ptrdiff_t{y} * stride + x - 1) {
            left->two = true;
            left->value[1] = p;
          } else {
            dots->push_back({ptrdiff_t{y} * stride + x, false, {p, 0}});
          }
        }
      }
    }
    return *dots;
  }

  void pictureChanges(uint64_t newVersion) {
    turnSource.reset();
    turned.clear();
    colourOfAll.reset();
    dots.reset();
    version = newVersion;
  }
};

struct Rotatable {
  int sprite = 0;
  float angle = 0;
};

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

std::unique_ptr<TextRenderer> makeTextRenderer() {
  try {
    return std::make_unique<TextRenderer>();
  } catch (...) {
    return nullptr;  // no text: drawText draws nothing
  }
}

uint32_t packed(Rgb c) { return packRgb(c.r, c.g, c.b); }

// Rendered text boxes by font and text: the overlay writes the same labels every frame, and
// rendering one anew costs far more than copying it.
class TextCache {
 public:
  const Image& box(const TextRenderer& renderer, int font, std::string_view text) {
    auto& texts = boxes_[font];
    if (const auto found = texts.find(text); found != texts.end()) return found->second;
    Image rendered = renderer.render(font, text);
    // Bounded, as every new health value is a new label; starting afresh is rare and cheap.
    if (pixels_ + rendered.pixels.size() > kMaxPixels) clear();
    pixels_ += rendered.pixels.size();
    return boxes_[font].emplace(std::string(text), std::move(rendered)).first->second;
  }

  void forgetFont(int font) {
    const auto found = boxes_.find(font);
    if (found == boxes_.end()) return;
    for (const auto& [text, image] : found->second) pixels_ -= image.pixels.size();
    boxes_.erase(found);
  }

 private:
  static constexpr size_t kMaxPixels = size_t{1} << 22;  // 16 MB

  void clear() {
    boxes_.clear();
    pixels_ = 0;
  }

  std::map<int, std::map<std::string, Image, std::less<>>> boxes_;
  size_t pixels_ = 0;
};

// Sounds decoded before, by their bytes: every battle loads the same two, and converting
// them to the device's rate is most of the cost of opening a battle.
class DecodedSounds {
 public:
  std::optional<std::vector<int16_t>> decode(std::span<const uint8_t> wav, AudioFormat format) {
    for (const Entry& e : entries_) {
      if (e.format.rate == format.rate && e.format.channels == format.channels &&
          std::equal(wav.begin(), wav.end(), e.bytes.begin(), e.bytes.end())) {
        return e.samples;
      }
    }
    std::optional<std::vector<int16_t>> samples = decodeWav(wav, format);
    if (!samples) return samples;
    if (entries_.size() == kKept) entries_.erase(entries_.begin());
    entries_.push_back({std::vector<uint8_t>(wav.begin(), wav.end()), format, *samples});
    return samples;
  }

 private:
  static constexpr size_t kKept = 4;
  struct Entry {
    std::vector<uint8_t> bytes;
    AudioFormat format;
    std::vector<int16_t> samples;
  };
  std::vector<Entry> entries_;
};

}  // namespace

struct Media::Impl : DrawingPainter {
  explicit Impl(std::unique_ptr<Backend> platform, uint32_t randomSeed)
      : backend(std::move(platform)),
        seed(randomSeed != 0 ? randomSeed : std::random_device{}()),
        random(seed),
        text(makeTextRenderer()) {}
  ~Impl() override { closeAudio(); }

  void openAudio();
  void closeAudio();
  Sprite* sprite(int n);
  Sprite* spriteToChange(int n);
  uint64_t newVersion() { return ++versions; }
  Image* drawingTarget();
  // The part of [x, x + w) x [y, y + h) on the screen.
  static ScreenBox screenBox(int64_t x, int64_t y, int64_t w, int64_t h);
  // A drawing of the back buffer, made when the picture is next brought up to date.
  void draw(Drawing drawing, int64_t x, int64_t y, int64_t w, int64_t h,
            std::string_view text = {});
  // Carries out every drawing that waits.
  void bringUpToDate() {
    if (scene.waiting()) scene.paint(*this);
  }
  void paint(const Drawing& d, std::string_view text, std::span<const ScreenBox> clips) override;
  void paintWhole(std::span<const Drawing> drawings, std::string_view texts) override;

  std::unique_ptr<Backend> backend;
  // Written only by paint(), as the scene asks.
  Image backBuffer{kScreenWidth, kScreenHeight};
  Scene scene{kScreenWidth, kScreenHeight};
  uint64_t versions = 0;
  std::vector<PixelBox> turnClips;
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

  std::unique_ptr<TextRenderer> text;
  TextCache textCache;
  std::map<int, uint64_t> loadedFonts;  // with their versions; the default font has 0
  int currentFont = TextRenderer::kDefaultFont;
  // Where fillBox and friends draw: nothing, the back buffer, or sprite `targetSprite`.
  enum class Target { None, BackBuffer, Sprite } target = Target::None;
  int targetSprite = 0;
};

void Media::Impl::openAudio() {
  closeAudio();
  AudioFormat format = kWantedAudio;
  outlet.connect(nullptr, format.channels);
  if (!backend->openAudio(&outlet, format)) return;  // no device: silent
  audioOpen = true;
  auto created = std::make_unique<Mixer>(format);
  backend->lockAudio();
  mixer = std::move(created);
  outlet.connect(mixer.get(), mixer->format().channels);
  backend->unlockAudio();
}

void Media::Impl::closeAudio() {
  if (!audioOpen) return;
  backend->closeAudio();  // the device pulls no more, so the mixer can go
  audioOpen = false;
  outlet.connect(nullptr, kWantedAudio.channels);
  mixer.reset();
}

Sprite* Media::Impl::sprite(int n) { return sprites.find(n); }

// A sprite about to change: drawings that wait for it are made first, with it as it is.
Sprite* Media::Impl::spriteToChange(int n) {
  Sprite* s = sprite(n);
  if (s != nullptr) bringUpToDate();
  return s;
}

// The target of fillBox and friends: a sprite is changed at once, the back buffer later.
Image* Media::Impl::drawingTarget() {
  if (silent || target != Target::Sprite) return nullptr;
  Sprite* s = spriteToChange(targetSprite);
  if (s == nullptr) return nullptr;
  s->pictureChanges(newVersion());
  return &s->image;
}

ScreenBox Media::Impl::screenBox(int64_t x, int64_t y, int64_t w, int64_t h) {
  const int64_t left = std::clamp<int64_t>(x, 0, kScreenWidth);
  const int64_t top = std::clamp<int64_t>(y, 0, kScreenHeight);
  const int64_t right = std::clamp<int64_t>(x + std::max<int64_t>(w, 0), 0, kScreenWidth);
  const int64_t bottom = std::clamp<int64_t>(y + std::max<int64_t>(h, 0), 0, kScreenHeight);
  return {static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
          static_cast<int>(bottom - top)};
}

void Media::Impl::draw(Drawing drawing, int64_t x, int64_t y, int64_t w, int64_t h,
                       std::string_view text) {
  drawing.box = screenBox(x, y, w, h);
  // Opaque over every pixel: what was drawn before is gone.
  const bool covers =
      (drawing.kind == Drawing::Kind::Fill || drawing.kind == Drawing::Kind::Copy) && x <= 0 &&
      y <= 0 && x + w >= kScreenWidth && y + h >= kScreenHeight;
  scene.add(drawing, text, covers);
}

void Media::Impl::paint(const Drawing& d, std::string_view text, std::span<const ScreenBox> clips) {
  Image& back = backBuffer;
  const auto each = [&clips](auto&& drawClipped) {
    for (const ScreenBox& c : clips) drawClipped(PixelBox{c.x, c.y, c.w, c.h});
  };
  // The clips lie on the screen; one colour over all of each restores the sea under the balls.
  const auto fillsEveryClip = [&clips](int64_t x, int64_t y, int64_t w, int64_t h) {
    return std::all_of(clips.begin(), clips.end(), [&](const ScreenBox& c) {
      return x <= c.x && y <= c.y && x + w >= int64_t{c.x} + c.w && y + h >= int64_t{c.y} + c.h;
    });
  };
  const auto fillClips = [&](uint32_t colour) {
    static_assert(sizeof(ScreenBox) == sizeof(PixelBox));
    fillBoxesOnImage(back, {reinterpret_cast<const PixelBox*>(clips.data()), clips.size()}, colour);
  };
  if (d.kind == Drawing::Kind::Fill) {
    if (fillsEveryClip(d.x, d.y, d.w, d.h)) {
      fillClips(d.colour);
      return;
    }
    each([&](const PixelBox& c) { ::fillBox(back, d.x, d.y, d.w, d.h, d.colour, c); });
  } else if (d.kind == Drawing::Kind::RoundBox) {
    each([&](const PixelBox& c) {
      ::fillRoundBox(back, d.x, d.y, d.w, d.h, d.rx, d.ry, d.colour, c);
    });
  } else if (d.kind == Drawing::Kind::Circle) {
    each([&](const PixelBox& c) { ::fillCircle(back, d.x, d.y, d.w, d.colour, c); });
  } else if (d.kind == Drawing::Kind::Text) {
    if (!this->text) return;
    const Image& box = textCache.box(*this->text, d.source, text);
    each([&](const PixelBox& c) { copyImage(back, box, d.x, d.y, c); });
  } else {
    Sprite* s = sprite(d.source);
    if (s == nullptr || s->version != d.version) return;
    const Image& picture = s->image;
    if (d.kind == Drawing::Kind::Copy) {
      // Such as the sea, one colour all over: filling reads nothing, copying reads it all.
      if (const std::optional<uint32_t>& colour = s->soleColourReady()) {
        if (fillsEveryClip(d.x, d.y, picture.w, picture.h)) {
          fillClips(*colour);
          return;
        }
        each([&](const PixelBox& c) {
          ::fillBox(back, d.x, d.y, picture.w, picture.h, *colour, c);
        });
      } else {
        each([&](const PixelBox& c) { copyImage(back, picture, d.x, d.y, c); });
      }
    } else if (d.kind == Drawing::Kind::KeyedCopy) {
      each([&](const PixelBox& c) { copyImageKeyed(back, picture, d.x, d.y, s->key, c); });
    } else {
      turnClips.clear();
      for (const ScreenBox& c : clips) turnClips.push_back({c.x, c.y, c.w, c.h});
      // The horizontal half-size places the centre on both axes.
      const double half = (picture.w - 1) / 2.0;
      drawTurned(back, s->turnReady(), s->turned, d.x + half, d.y + half, d.angle, turnClips);
    }
  }
}

void Media::Impl::paintWhole(std::span<const Drawing> drawings, std::string_view texts) {
  // The balls of a run share one or two sprites.
  Sprite* last = nullptr;
  int lastSource = 0;
  for (size_t i = 0; i < drawings.size(); ++i) {
    const Drawing& d = drawings[i];
    if (i + kFetchAhead < drawings.size()) {
      const ScreenBox& ahead = drawings[i + kFetchAhead].box;
      fetchRowsFor(backBuffer, {ahead.x, ahead.y, ahead.w, ahead.h});
    }
    if (d.kind == Drawing::Kind::KeyedCopy && d.small) {
      Sprite* s = last != nullptr && d.source == lastSource ? last : sprite(d.source);
      last = s;
      lastSource = d.source;
      // Wholly on the screen: its box is the picture's.
      if (s != nullptr && s->version == d.version && d.box.x == d.x && d.box.y == d.y &&
          d.box.w == s->image.w && d.box.h == s->image.h) {
        uint32_t* corner = &backBuffer.at(d.x, d.y);
        for (const Sprite::Dot& dot : s->dotsReady(backBuffer.w)) dot.drawAt(corner);
        continue;
      }
    }
    paint(d, texts.substr(d.textAt, d.textLength), {&d.box, 1});
  }
}

Media::Media(std::unique_ptr<Backend> backend, uint32_t randomSeed)
    : impl_(std::make_unique<Impl>(std::move(backend), randomSeed)) {}

Media::~Media() = default;

// --- screen and window

MediaInit Media::initMedia() {
  if (!impl_->backend->initScreen()) return MediaInit::ScreenFailed;
  if (!impl_->backend->initKeyboard()) return MediaInit::KeyboardFailed;
  // Turned drawing is our own compositor's: nothing to bring up, so it cannot fail.
  if (!impl_->backend->initSound()) return MediaInit::SoundFailed;
  impl_->openAudio();
  return MediaInit::Ok;
}

void Media::release(MediaService service) {
  switch (service) {
    case MediaService::Sound:
      impl_->closeAudio();
      break;
    case MediaService::Keyboard:
      impl_->keyboard = Keyboard{};
      impl_->pads.clear();
      break;
    case MediaService::ScreenAndSprites:
      impl_->bringUpToDate();
      impl_->target = Impl::Target::None;
      impl_->sprites.clear();
      break;
    case MediaService::Rotatables:
      impl_->rotatables.clear();
      break;
    case MediaService::Fonts:
      impl_->bringUpToDate();
      impl_->loadedFonts.clear();
      impl_->textCache = TextCache{};
      impl_->text.reset();
      break;
    case MediaService::GameControllers:
    case MediaService::Windows:
    case MediaService::Desktop:
      break;
  }
  impl_->backend->release(service);
}

Size Media::desktopSize() { return impl_->backend->desktopSize(); }

bool Media::openBattleWindow(int w, int h) { return impl_->backend->openWindow(w, h); }

bool Media::openBattleScreen() { return impl_->backend->openScreen(kScreenWidth, kScreenHeight); }

void Media::closeBattleWindow() { impl_->backend->closeWindow(); }

bool Media::pollWindowEvent() { return !impl_->silent && impl_->backend->pollEvent(); }

int Media::takeWindowEvents() { return impl_->silent ? 0 : impl_->backend->takeEvents(); }

void Media::showFrame() {
  if (impl_->silent) return;
  Backend& platform = *impl_->backend;
  impl_->bringUpToDate();
  platform.presentChanges(impl_->backBuffer.pixels.data(), kScreenWidth, kScreenHeight,
                          impl_->scene.takeChanges());
  const int wait = impl_->pacer.delayAfterFrame(platform.nowMicros());
  if (wait > 0) platform.sleepMs(wait);
}

void Media::clearScreen(Rgb colour) {
  if (impl_->silent) return;
  Drawing clear{.kind = Drawing::Kind::Fill, .w = kScreenWidth, .h = kScreenHeight};
  clear.colour = packed(colour);
  impl_->draw(clear, 0, 0, kScreenWidth, kScreenHeight);
}

void Media::sleepMs(int ms) {
  if (!impl_->silent) impl_->backend->sleepMs(std::max(ms, 0));
}

void Media::setSilent(bool on) { impl_->silent = on; }

bool Media::silent() const { return impl_->silent; }

uint32_t Media::randomSeed() const { return impl_->seed; }

Rgb Media::pixel(int x, int y) const {
  const Image& back = impl_->backBuffer;
  if (x < 0 || y < 0 || x >= back.w || y >= back.h) return {0, 0, 0};
  impl_->bringUpToDate();
  const uint32_t p = back.at(x, y);
  return {static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p)};
}

Backend& Media::backend() { return *impl_->backend; }

void Media::repaintOnlyWhatChanged(bool on) { impl_->scene.repaintInPart(on); }

// --- sprites

bool Media::createSprite(int n, int w, int h) {
  if (w <= 0 || h <= 0 || w > kMaxSpriteSide || h > kMaxSpriteSide) return false;
  if (int64_t{w} * h > kMaxSpritePixels) return false;
  impl_->bringUpToDate();  // drawings that wait may show the sprite it replaces
  impl_->sprites.put(n, Sprite(Image(w, h))).version = impl_->newVersion();
  return true;
}

bool Media::loadSprite(int n, std::span<const uint8_t> bmp, bool rotatable) {
  std::optional<Image> image = decodeBmp(bmp);
  if (!image) return false;
  impl_->bringUpToDate();
  impl_->sprites.put(n, Sprite(std::move(*image), rotatable)).version = impl_->newVersion();
  return true;
}

void Media::setTransparentColour(int n, Rgb colour) {
  Sprite* s = impl_->spriteToChange(n);
  if (s == nullptr) return;
  s->pictureChanges(impl_->newVersion());
  s->key = packed(colour);
}

void Media::drawSprite(int n, int x, int y) {
  if (impl_->silent) return;
  const Sprite* s = impl_->sprite(n);
  if (s == nullptr) return;
  const Drawing d{.kind = Drawing::Kind::Copy, .source = n, .version = s->version, .x = x, .y = y};
  impl_->draw(d, x, y, s->image.w, s->image.h);
}

void Media::drawTransparentSprite(int n, int x, int y) {
  if (impl_->silent) return;  // first: frames played again draw thousands of balls
  const Sprite* s = impl_->sprite(n);
  if (s == nullptr) return;
  // Never over the whole screen, as it lets the sea through.
  const ScreenBox box = Impl::screenBox(x, y, s->image.w, s->image.h);
  if (box.w <= 0 || box.h <= 0) return;
  Drawing& d = impl_->scene.addInPlace(box);
  d.kind = Drawing::Kind::KeyedCopy;
  d.source = n;
  d.version = s->version;
  d.x = x;
  d.y = y;
}

bool Media::createRotatable(int r, int sprite) {
  const Sprite* s = impl_->sprite(sprite);
  if (s == nullptr || !s->rotatable) return false;
  impl_->rotatables.put(r, Rotatable{sprite, 0.0f});
  return true;
}

void Media::setRotation(int r, float degrees, bool relative) {
  Rotatable* found = impl_->rotatables.find(r);
  if (found == nullptr) return;
  found->angle = relative ? found->angle + degrees : degrees;
}

float Media::rotation(int r) const {
  const Rotatable* found = impl_->rotatables.find(r);
  return found == nullptr ? 0.0f : found->angle;
}

void Media::drawRotatable(int r, int x, int y) {
  if (impl_->silent) return;
  const Rotatable* found = impl_->rotatables.find(r);
  if (found == nullptr) return;
  Sprite* s = impl_->sprite(found->sprite);
  if (s == nullptr) return;
  const float angle = found->angle;
  const Image& picture = s->image;
  Drawing d{.source = found->sprite, .version = s->version, .x = x, .y = y};
  if (angle == 0.0f) {
    d.kind = Drawing::Kind::KeyedCopy;
    impl_->draw(d, x, y, picture.w, picture.h);
    return;
  }
  d.kind = Drawing::Kind::Turned;
  d.angle = angle;
  // The horizontal half-size places the centre on both axes.
  const double half = (picture.w - 1) / 2.0;
  const PixelBox box = turnedBox(impl_->backBuffer, s->turnReady(), x + half, y + half, angle);
  impl_->draw(d, box.x, box.y, box.w, box.h);
}

bool Media::spritesOverlap(int a, int xa, int ya, int b, int xb, int yb) {
  const Sprite* first = impl_->sprite(a);
  const Sprite* second = impl_->sprite(b);
  if (first == nullptr || second == nullptr) return false;
  // Most pairs (a cannonball and a hit disc) lie apart: answered here, without a call.
  if (boxesApart(first->image, xa, ya, second->image, xb, yb)) return false;
  return imagesOverlap(first->image, first->key, xa, ya, second->image, second->key, xb, yb);
}

Size Media::spriteSize(int n) const {
  const Sprite* s = impl_->sprites.find(n);
  return s == nullptr ? Size{0, 0} : Size{s->image.w, s->image.h};
}

// Every drawRotatable is complete when it returns, so the brackets have nothing to do.
void Media::beginRotatedDrawing() {}
void Media::endRotatedDrawing() {}

// --- drawing, text and shapes

bool Media::beginDrawing() {
  if (impl_->silent) return false;
  impl_->target = Impl::Target::BackBuffer;
  impl_->currentFont = TextRenderer::kDefaultFont;
  return true;
}

bool Media::beginDrawing(int sprite) {
  if (impl_->sprite(sprite) == nullptr || impl_->silent) return false;
  impl_->target = Impl::Target::Sprite;
  impl_->targetSprite = sprite;
  impl_->currentFont = TextRenderer::kDefaultFont;
  return true;
}

void Media::endDrawing() { impl_->target = Impl::Target::None; }

void Media::fillBox(int x, int y, int w, int h, Rgb colour) {
  if (impl_->silent) return;
  if (impl_->target == Impl::Target::BackBuffer) {
    const Drawing d{
        .kind = Drawing::Kind::Fill, .x = x, .y = y, .w = w, .h = h, .colour = packed(colour)};
    impl_->draw(d, x, y, w, h);
  } else if (Image* target = impl_->drawingTarget()) {
    ::fillBox(*target, x, y, w, h, packed(colour));
  }
}

void Media::fillRoundBox(int x, int y, int w, int h, int rx, int ry, Rgb colour) {
  if (impl_->silent) return;
  if (impl_->target == Impl::Target::BackBuffer) {
    // A negative size reaches to the left or upwards.
    const int64_t left = std::min<int64_t>(x, int64_t{x} + w);
    const int64_t top = std::min<int64_t>(y, int64_t{y} + h);
    const Drawing d{.kind = Drawing::Kind::RoundBox,
                    .x = x,
                    .y = y,
                    .w = w,
                    .h = h,
                    .rx = rx,
                    .ry = ry,
                    .colour = packed(colour)};
    impl_->draw(d, left, top, std::abs(int64_t{w}), std::abs(int64_t{h}));
  } else if (Image* target = impl_->drawingTarget()) {
    ::fillRoundBox(*target, x, y, w, h, rx, ry, packed(colour));
  }
}

void Media::fillCircle(int x, int y, int r, Rgb colour) {
  if (impl_->silent) return;
  if (impl_->target == Impl::Target::BackBuffer) {
    if (r < 0) return;
    const int64_t radius = r;
    const Drawing d{
        .kind = Drawing::Kind::Circle, .x = x, .y = y, .w = r, .colour = packed(colour)};
    impl_->draw(d, x - radius, y - radius, 2 * radius + 1, 2 * radius + 1);
  } else if (Image* target = impl_->drawingTarget()) {
    ::fillCircle(*target, x, y, r, packed(colour));
  }
}

bool Media::loadFont(int n, const std::string& face, int points) {
  if (!impl_->text) return false;
  impl_->bringUpToDate();  // texts that wait are written in the font as it was
  impl_->textCache.forgetFont(n);
  if (!impl_->text->loadFont(n, face, points)) {
    impl_->loadedFonts.erase(n);
    return false;
  }
  impl_->loadedFonts[n] = impl_->newVersion();
  return true;
}

void Media::useFont(int n) {
  impl_->currentFont = impl_->loadedFonts.contains(n) ? n : TextRenderer::kDefaultFont;
}

void Media::drawText(int x, int y, std::string_view latin1Text) {
  if (impl_->silent || impl_->target == Impl::Target::None || !impl_->text) return;
  const int font = impl_->currentFont;
  if (impl_->target == Impl::Target::BackBuffer) {
    const Image& box = impl_->textCache.box(*impl_->text, font, latin1Text);
    const auto loaded = impl_->loadedFonts.find(font);
    const uint64_t version = loaded == impl_->loadedFonts.end() ? 0 : loaded->second;
    const Drawing d{
        .kind = Drawing::Kind::Text, .source = font, .version = version, .x = x, .y = y};
    impl_->draw(d, x, y, box.w, box.h, latin1Text);
  } else if (Image* target = impl_->drawingTarget()) {
    copyImage(*target, impl_->textCache.box(*impl_->text, font, latin1Text), x, y);
  }
}

// --- sound

bool Media::loadSound(int n, std::span<const uint8_t> wav) {
  Mixer* mixer = impl_->mixer.get();
  std::optional<std::vector<int16_t>> samples =
      impl_->decodedSounds.decode(wav, mixer != nullptr ? mixer->format() : kCheckFormat);
  if (!samples) return false;
  if (mixer == nullptr) return true;  // silent game: nothing to keep
  impl_->backend->lockAudio();
  mixer->setSound(n, std::move(*samples));
  impl_->backend->unlockAudio();
  return true;
}

void Media::captureSounds(std::vector<std::pair<int, int>>* into) { impl_->capturedSounds = into; }

void Media::playSound(int n, int volume) {
  if (impl_->capturedSounds != nullptr) {
    impl_->capturedSounds->emplace_back(n, volume);
    return;
  }
  if (impl_->silent) return;
  impl_->backend->soundStarted(n, volume);
  Mixer* mixer = impl_->mixer.get();
  if (mixer == nullptr) return;
  impl_->backend->lockAudio();
  mixer->play(n, volume);  // clamps to 0..100
  impl_->backend->unlockAudio();
}

// --- keyboard, random numbers, message boxes

void Media::pollKeyboard() {
  std::array<bool, kKeyCount> down{};
  impl_->backend->keyboardSnapshot(down);
  impl_->backend->padSnapshot(impl_->pads);
  for (const PadState& pad : impl_->pads) {
    down[static_cast<size_t>(Key::Return)] |= pad.start;
    down[static_cast<size_t>(Key::Escape)] |= pad.back;
  }
  impl_->keyboard.takeSnapshot(down);
}

bool Media::keyDown(Key key) { return impl_->keyboard.isDown(key); }

bool Media::keyReleased(Key key) { return impl_->keyboard.wasReleased(key); }

namespace {

// Whether pad `pad` of `pads` steers player `spieler`.
bool padSteers(int pad, int pads, int players, int spieler) {
  if (players < 2) return spieler == 0;
  if (pads == 1) return spieler == 1;
  return pad == spieler;
}

void add(Steuerung& to, const Steuerung& from) {
  to.Beschleunigen |= from.Beschleunigen;
  to.Bremsen |= from.Bremsen;
  to.Links |= from.Links;
  to.Rechts |= from.Rechts;
  to.FeuerLinks |= from.FeuerLinks;
  to.FeuerRechts |= from.FeuerRechts;
}

}  // namespace

Steuerung Media::steuerung(int spieler) const {
  // Each player's six keys, in the order of Steuerung's fields; the backend maps them to the
  // keys the players bound.
  static constexpr std::array<std::array<Key, 6>, 2> kTasten = {{
      {Key::W, Key::S, Key::A, Key::D, Key::V, Key::B},
      {Key::Up, Key::Down, Key::Left, Key::Right, Key::Keypad1, Key::Keypad2},
  }};
  if (spieler < 0 || spieler > 1) return {};
  const auto& tasten = kTasten[static_cast<size_t>(spieler)];
  const Keyboard& k = impl_->keyboard;
  Steuerung steuerung{k.isDown(tasten[0]), k.isDown(tasten[1]), k.isDown(tasten[2]),
                      k.isDown(tasten[3]), k.isDown(tasten[4]), k.isDown(tasten[5])};
  const int pads = static_cast<int>(impl_->pads.size());
  for (int pad = 0; pad < pads; ++pad) {
    if (padSteers(pad, pads, impl_->players, spieler)) add(steuerung, impl_->pads[pad].steuerung);
  }
  return steuerung;
}

void Media::setPlayerCount(int players) { impl_->players = players; }

void Media::setKeyBindings(const KeyBindings& bindings) {
  impl_->backend->setKeyBindings(bindings);
}

void Media::rumble(int spieler) {
  if (impl_->silent) return;  // a frame played again is felt only once
  const int pads = static_cast<int>(impl_->pads.size());
  for (int pad = 0; pad < pads; ++pad) {
    if (padSteers(pad, pads, impl_->players, spieler)) impl_->backend->rumblePad(pad);
  }
}

bool Media::hasFocus() { return impl_->backend->hasFocus(); }

int Media::randomInt(int max) {
  if (max <= 0) return 0;
  return std::uniform_int_distribution<int>(0, max)(impl_->random);
}

bool Media::messageBox(const std::string& title, const std::string& text, MessageKind kind) {
  return impl_->backend->messageBox(title, text, kind);
}
