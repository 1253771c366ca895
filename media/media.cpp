#include "media/media.h"

#include <algorithm>
#include <array>
#include <memory>
#include <random>
#include <string>

#include "media/media_impl.h"

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
  const uint64_t now = platform.nowMicros();
  const int wait = impl_->pacer.delayAfterFrame(now);
  if (impl_->pausedSinceFrame) {
    impl_->pacedUntil = now + static_cast<uint64_t>(wait) * 1000;
  } else if (wait > 0) {
    platform.sleepMs(wait);
  }
  impl_->pausedSinceFrame = false;
}

void Media::clearScreen(Rgb colour) {
  if (impl_->silent) return;
  Drawing clear{.kind = Drawing::Kind::Fill, .w = kScreenWidth, .h = kScreenHeight};
  clear.colour = packed(colour);
  impl_->draw(clear, 0, 0, kScreenWidth, kScreenHeight);
}

// At least `ms`, and at least until the last frame's pacing is waited out.
void Media::sleepMs(int ms) {
  if (impl_->silent) return;
  Backend& platform = *impl_->backend;
  int wait = std::max(ms, 0);
  const uint64_t now = impl_->pacedUntil != 0 ? platform.nowMicros() : 0;
  if (impl_->pacedUntil > now) {
    wait = std::max(wait, static_cast<int>((impl_->pacedUntil - now + 500) / 1000));
  }
  impl_->pacedUntil = 0;
  impl_->pausedSinceFrame = true;
  platform.sleepMs(wait);
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
