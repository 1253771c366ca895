#include "media/media.h"

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <span>
#include <vector>

#include "media/compositor.h"
#include "media/dirty_boxes.h"
#include "media/frame_pacer.h"
#include "media/image.h"
#include "media/keyboard.h"
#include "media/mixer.h"
#include "media/numbered_table.h"
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
  // The picture made ready for turned drawing, and the colour of all its pixels if they
  // share one, each made on first use and forgotten when the picture changes.
  std::unique_ptr<const TurnSource> turnSource;
  std::optional<std::optional<uint32_t>> colourOfAll;

  const TurnSource& turnReady() {
    if (!turnSource) turnSource = std::make_unique<const TurnSource>(image, key);
    return *turnSource;
  }

  const std::optional<uint32_t>& soleColourReady() {
    if (!colourOfAll) colourOfAll = soleColour(image);
    return *colourOfAll;
  }

  void pictureChanges() {
    turnSource.reset();
    colourOfAll.reset();
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

struct Media::Impl {
  explicit Impl(std::unique_ptr<Backend> platform, uint32_t randomSeed)
      : backend(std::move(platform)),
        seed(randomSeed != 0 ? randomSeed : std::random_device{}()),
        random(seed),
        text(makeTextRenderer()) {}
  ~Impl() { closeAudio(); }

  void openAudio();
  void closeAudio();
  Sprite* sprite(int n);
  Image* drawingTarget(int64_t x, int64_t y, int64_t w, int64_t h);
  const Image& shownScreen();
  Image& screenToDraw(int64_t x, int64_t y, int64_t w, int64_t h);
  Image& screenToDrawThenTell();
  void fillScreen(uint32_t colour);

  std::unique_ptr<Backend> backend;
  // Read through shownScreen() and written only through screenToDraw() and fillScreen(), which
  // carry out a pending clear first and keep `dirty` up to date (or screenToDrawThenTell(),
  // whose caller tells `dirty` what it drew).
  Image backBuffer{kScreenWidth, kScreenHeight};
  // A clear not yet carried out: the frame's first drawing, the opaque sea over the whole
  // screen, usually makes it needless.
  std::optional<uint32_t> pendingClear;
  DirtyBoxes dirty{kScreenWidth, kScreenHeight};
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
  std::set<int> loadedFonts;
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

// The target of fillBox and friends, told where they may change pixels.
Image* Media::Impl::drawingTarget(int64_t x, int64_t y, int64_t w, int64_t h) {
  if (silent) return nullptr;
  switch (target) {
    case Target::BackBuffer:
      return &screenToDraw(x, y, w, h);
    case Target::Sprite: {
      Sprite* s = sprite(targetSprite);
      if (s == nullptr) return nullptr;
      s->pictureChanges();
      return &s->image;
    }
    case Target::None:
      break;
  }
  return nullptr;
}

const Image& Media::Impl::shownScreen() {
  if (pendingClear) {
    dirty.fill(backBuffer, *pendingClear);
    pendingClear.reset();
  }
  return backBuffer;
}

// For drawing that may change pixels in the given box.
Image& Media::Impl::screenToDraw(int64_t x, int64_t y, int64_t w, int64_t h) {
  shownScreen();
  dirty.drawn(x, y, w, h);
  return backBuffer;
}

// For drawing that finds out where it draws as it goes, and tells `dirty` afterwards.
Image& Media::Impl::screenToDrawThenTell() {
  shownScreen();
  return backBuffer;
}

void Media::Impl::fillScreen(uint32_t colour) {
  pendingClear.reset();  // every pixel is about to be replaced
  dirty.fill(backBuffer, colour);
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
      impl_->target = Impl::Target::None;
      impl_->sprites.clear();
      break;
    case MediaService::Rotatables:
      impl_->rotatables.clear();
      break;
    case MediaService::Fonts:
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
  const uint32_t* pixels = impl_->shownScreen().pixels.data();
  platform.presentChanges(pixels, kScreenWidth, kScreenHeight, impl_->dirty.takeChanges());
  const int wait = impl_->pacer.delayAfterFrame(platform.nowMicros());
  if (wait > 0) platform.sleepMs(wait);
}

void Media::clearScreen(Rgb colour) {
  if (!impl_->silent) impl_->pendingClear = packed(colour);
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
  const uint32_t p = impl_->pendingClear.value_or(back.at(x, y));
  return {static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p)};
}

Backend& Media::backend() { return *impl_->backend; }

void Media::refillOnlyWhatWasDrawn(bool on) { impl_->dirty.enable(on); }

// --- sprites

bool Media::createSprite(int n, int w, int h) {
  if (w <= 0 || h <= 0 || w > kMaxSpriteSide || h > kMaxSpriteSide) return false;
  if (int64_t{w} * h > kMaxSpritePixels) return false;
  impl_->sprites.put(n, Sprite(Image(w, h)));
  return true;
}

bool Media::loadSprite(int n, std::span<const uint8_t> bmp, bool rotatable) {
  std::optional<Image> image = decodeBmp(bmp);
  if (!image) return false;
  impl_->sprites.put(n, Sprite(std::move(*image), rotatable));
  return true;
}

void Media::setTransparentColour(int n, Rgb colour) {
  Sprite* s = impl_->sprite(n);
  if (s == nullptr) return;
  s->key = packed(colour);
  s->turnSource.reset();
}

void Media::drawSprite(int n, int x, int y) {
  Sprite* s = impl_->sprite(n);
  if (s == nullptr || impl_->silent) return;
  const bool coversScreen = x <= 0 && y <= 0 && int64_t{x} + s->image.w >= kScreenWidth &&
                            int64_t{y} + s->image.h >= kScreenHeight;
  if (coversScreen) {
    impl_->pendingClear.reset();  // every pixel is about to be replaced
    // Such as the sea, one colour all over: filling reads nothing, copying reads it all, and
    // a fill of the colour already there rewrites only what was drawn over it.
    if (const std::optional<uint32_t>& colour = s->soleColourReady()) {
      impl_->fillScreen(*colour);
      return;
    }
  }
  copyImage(impl_->screenToDraw(x, y, s->image.w, s->image.h), s->image, x, y);
}

void Media::drawTransparentSprite(int n, int x, int y) {
  const Sprite* s = impl_->sprite(n);
  if (s == nullptr || impl_->silent) return;
  copyImageKeyed(impl_->screenToDraw(x, y, s->image.w, s->image.h), s->image, x, y, s->key);
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
  const Rotatable* found = impl_->rotatables.find(r);
  if (found == nullptr || impl_->silent) return;
  Sprite* s = impl_->sprite(found->sprite);
  if (s == nullptr) return;
  const float angle = found->angle;
  const Image& picture = s->image;
  if (angle == 0.0f) {
    copyImageKeyed(impl_->screenToDraw(x, y, picture.w, picture.h), picture, x, y, s->key);
    return;
  }
  // The horizontal half-size places the centre on both axes.
  const double half = (picture.w - 1) / 2.0;
  const PixelBox drawn =
      drawTurned(impl_->screenToDrawThenTell(), s->turnReady(), x + half, y + half, angle);
  impl_->dirty.drawn(drawn.x, drawn.y, drawn.w, drawn.h);
}

bool Media::spritesOverlap(int a, int xa, int ya, int b, int xb, int yb) {
  const Sprite* first = impl_->sprite(a);
  const Sprite* second = impl_->sprite(b);
  if (first == nullptr || second == nullptr) return false;
  // Most pairs (a cannonball and a hit disc) lie apart: answered here, without a call.
  if (boxesApart(first->image, xa, ya, second->image, xb, yb)) return false;
  return imagesOverlap(first->image, first->key, xa, ya, second->image, second->key, xb, yb);
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
  if (Image* target = impl_->drawingTarget(x, y, w, h)) {
    ::fillBox(*target, x, y, w, h, packed(colour));
  }
}

void Media::fillRoundBox(int x, int y, int w, int h, int rx, int ry, Rgb colour) {
  // A negative size reaches to the left or upwards.
  const int64_t left = std::min<int64_t>(x, int64_t{x} + w);
  const int64_t top = std::min<int64_t>(y, int64_t{y} + h);
  if (Image* target = impl_->drawingTarget(left, top, std::abs(int64_t{w}), std::abs(int64_t{h}))) {
    ::fillRoundBox(*target, x, y, w, h, rx, ry, packed(colour));
  }
}

void Media::fillCircle(int x, int y, int r, Rgb colour) {
  const int64_t radius = r;
  if (Image* target =
          impl_->drawingTarget(x - radius, y - radius, 2 * radius + 1, 2 * radius + 1)) {
    ::fillCircle(*target, x, y, r, packed(colour));
  }
}

bool Media::loadFont(int n, const std::string& face, int points) {
  if (!impl_->text) return false;
  impl_->textCache.forgetFont(n);
  if (!impl_->text->loadFont(n, face, points)) {
    impl_->loadedFonts.erase(n);
    return false;
  }
  impl_->loadedFonts.insert(n);
  return true;
}

void Media::useFont(int n) {
  impl_->currentFont = impl_->loadedFonts.contains(n) ? n : TextRenderer::kDefaultFont;
}

void Media::drawText(int x, int y, std::string_view latin1Text) {
  if (impl_->target == Impl::Target::None || !impl_->text) return;
  const Image& box = impl_->textCache.box(*impl_->text, impl_->currentFont, latin1Text);
  if (Image* target = impl_->drawingTarget(x, y, box.w, box.h)) copyImage(*target, box, x, y);
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
