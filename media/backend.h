// The platform under the media services: everything that touches the operating system.
// Two implementations: SdlBackend (the game) and HeadlessBackend (tests, benchmarks).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "basis/key_bindings.h"
#include "basis/steuerung.h"

// The first twelve are the players' controls, on whatever keys they are bound to. The keys
// after P stay where they are printed, whatever the players bound: a replay's speed (the
// digits above the letters) and its jumps (the arrow keys).
enum class Key {
  W,
  S,
  A,
  D,
  Up,
  Down,
  Left,
  Right,
  V,
  B,
  Keypad1,
  Keypad2,
  Return,
  Escape,
  P,
  One,
  Two,
  Four,
  ArrowLeft,
  ArrowRight
};
inline constexpr int kKeyCount = 20;

enum class MessageKind { Ok, YesNoQuestion };

// What the shutdown sequence releases, one service at a time and in its own order.
enum class MediaService {
  Sound,
  Keyboard,
  ScreenAndSprites,
  Rotatables,
  GameControllers,
  Windows,
  Fonts,
  Desktop
};

// One game pad in a snapshot.
struct PadState {
  Steuerung steuerung;
  bool start = false, back = false;  // what Return and Escape do
};

struct Size {
  int w = 0, h = 0;
};

struct Point {
  int x = 0, y = 0;
};

// Pixels [x, x + w) x [y, y + h).
struct ScreenBox {
  int x = 0, y = 0, w = 0, h = 0;
};

// What may differ in a frame from the one presented before it: everything, or the pixels
// within the boxes.
struct FrameChanges {
  bool everything = true;
  std::span<const ScreenBox> boxes;
  // Hardly a pixel in the boxes is as it was (they were painted because what lies there
  // differs): comparing them with the frame before would cost more than it saves.
  bool mostlyNew = false;
  // The boxes were found by comparing with the frame before: each holds only the rows and
  // columns (in bands of a few rows) where pixels differ.
  bool compared = false;
};

// Format of the audio output the mixer renders for: signed 16-bit, interleaved.
struct AudioFormat {
  int rate = 0;      // frames per second
  int channels = 0;  // 1 or 2
};

// Called from the audio thread to fill the device buffer.
class AudioSource {
 public:
  virtual ~AudioSource() = default;
  virtual void render(int16_t* out, int frames) = 0;
};

class Backend {
 public:
  virtual ~Backend() = default;

  // Bring-up of the services, in the order the game asks for them. False = failed.
  virtual bool initScreen() = 0;
  virtual bool initKeyboard() = 0;
  virtual bool initSound() = 0;
  // Releases one service; shutdown() releases whatever is still up.
  virtual void release(MediaService service) = 0;
  virtual void shutdown() = 0;

  virtual Size desktopSize() = 0;
  virtual bool openWindow(int w, int h) = 0;
  // Attaches a w x h XRGB back buffer, stretched over the whole window.
  virtual bool openScreen(int w, int h) = 0;
  virtual void closeWindow() = 0;
  // Shows a finished w x h XRGB frame (0x00RRGGBB per pixel, rows of w pixels).
  virtual void present(const uint32_t* pixels, int w, int h) = 0;
  // The same, told what changed since the frame presented before, so that showing it may
  // cost less than showing a whole one.
  virtual void presentChanges(const uint32_t* pixels, int w, int h, const FrameChanges&) {
    present(pixels, w, h);
  }
  // Whether the frames' changes are worth narrowing to the pixels that really differ before
  // they come: for a presenter that stretches them on the processor, pixel by pixel.
  virtual bool wantsComparedChanges() const { return false; }
  virtual bool pollEvent() = 0;
  // Takes every event waiting now in one go and says how many; what arrives meanwhile waits
  // for the next call, so a pointer that keeps moving cannot keep it busy.
  virtual int takeEvents() {
    int taken = 0;
    while (pollEvent()) ++taken;
    return taken;
  }

  // Fills `down` with the keys held now, or pressed since the last snapshot.
  virtual void keyboardSnapshot(std::array<bool, kKeyCount>& down) = 0;
  // The keys that stand for the players' twelve control keys from now on.
  virtual void setKeyBindings(const KeyBindings& /*bindings*/) {}
  // The pads plugged in now, in the order they were plugged in; a button pressed since the
  // last snapshot counts as held.
  virtual void padSnapshot(std::vector<PadState>& pads) { pads.clear(); }
  // A short rumble of pad `index` of the last snapshot, where it has a motor.
  virtual void rumblePad(int /*index*/) {}
  // Whether the battle window has the keyboard focus (true without a window system).
  virtual bool hasFocus() { return true; }

  virtual bool messageBox(const std::string& title, const std::string& text, MessageKind) = 0;

  virtual void sleepMs(int ms) = 0;
  virtual uint64_t nowMicros() = 0;  // monotonic

  // Starts the audio output pulling from `source`; false when there is no device.
  virtual bool openAudio(AudioSource* source, AudioFormat& format) = 0;
  virtual void closeAudio() = 0;
  // Brackets changes to the data `render` reads.
  virtual void lockAudio() = 0;
  virtual void unlockAudio() = 0;

  // Told of every playSound with the volume as the game gave it, before any clamping.
  virtual void soundStarted(int /*sound*/, int /*volume*/) {}
};
