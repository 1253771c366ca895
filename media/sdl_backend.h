// The game's platform: a borderless top-most SDL2 window, SDL audio, the SDL keyboard state
// and message boxes. Frames reach the window through a streaming texture stretched by the
// graphics card where there is one, else through our own scaler straight into the window's
// (shared-memory) surface, only where they changed.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "media/backend.h"
#include "media/sdl_pads.h"

class FrameScaler;

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
union SDL_Event;

// Asked again and again while a box is open: an answer given elsewhere (a pad), which closes
// the box, or nullopt.
using OutsideAnswer = std::function<std::optional<bool>()>;

// Shows a message box with another toolkit, over the battle window given by its native
// (X11) id, 0 when there is none. Title and text are UTF-8. Answers Yes with true (an OK
// box with true too); nullopt when it could not show the box.
using MessagePresenter = std::function<std::optional<bool>(
    const std::string& title, const std::string& text, MessageKind kind, uint64_t parentWindow,
    const OutsideAnswer& outsideAnswer)>;

class SdlBackend : public Backend {
 public:
  SdlBackend();  // with the default key bindings
  ~SdlBackend() override;
  SdlBackend(const SdlBackend&) = delete;
  SdlBackend& operator=(const SdlBackend&) = delete;

  bool initScreen() override;
  bool initKeyboard() override;
  // Falls back to the silent "dummy" driver when no audio driver starts at all.
  bool initSound() override;
  void release(MediaService service) override;
  void shutdown() override;

  Size desktopSize() override;
  bool openWindow(int w, int h) override;
  bool openScreen(int w, int h) override;
  void closeWindow() override;
  void present(const uint32_t* pixels, int w, int h) override;
  void presentChanges(const uint32_t* pixels, int w, int h, const FrameChanges&) override;
  // Compared changes spare the scaler a comparison with a copy of the whole last frame.
  bool wantsComparedChanges() const override;
  bool pollEvent() override;
  int takeEvents() override;

  void keyboardSnapshot(std::array<bool, kKeyCount>& down) override;
  void setKeyBindings(const KeyBindings& bindings) override;
  void padSnapshot(std::vector<PadState>& pads) override;
  void rumblePad(int index) override;
  bool hasFocus() override;

  // Title and text are UTF-8 like every text of the game. Shown by the presenter when
  // one is set, else (or when it fails) by SDL. When no box can be shown at all the text
  // goes to stderr and a question counts as answered Yes.
  bool messageBox(const std::string& title, const std::string& text, MessageKind) override;
  // SDL's own box needs X core fonts; a presenter can do without them. A pad answers the
  // presenter's box: A Yes, B No.
  void setMessagePresenter(MessagePresenter presenter) { presenter_ = std::move(presenter); }

  void sleepMs(int ms) override;
  uint64_t nowMicros() override;

  bool openAudio(AudioSource* source, AudioFormat& format) override;
  void closeAudio() override;
  void lockAudio() override;
  void unlockAudio() override;

  SDL_Window* window() const { return window_; }
  // The battle window's X11 id; 0 without a window or on another window system.
  uint64_t nativeWindow() const;
  SDL_Renderer* renderer() const { return renderer_; }
  // SDL's name of the renderer that presents the frames ("opengl", "software", ...),
  // "window surface" when our own scaler does, or "".
  std::string rendererName() const;
  // The colour (0x00RRGGBB) of a pixel of what the window shows; nullopt without a screen.
  std::optional<uint32_t> shownPixel(int x, int y) const;

 private:
  // What the audio callback needs, owned here so it outlives the device.
  struct AudioLink {
    AudioSource* source = nullptr;
    int channels = 0;
  };

  static void audioCallback(void* link, uint8_t* stream, int bytes);
  void latch(const SDL_Event& event);
  void followWindow(const SDL_Event& event);
  void askToLeave();
  void keepOnTop(bool above);
  void takeKeyEvents();
  static bool showsAnything();
  std::optional<bool> showSdlBox(const std::string& title, const std::string& text,
                                 MessageKind kind);
  void closeScreen();
  bool choosePresenter(bool tryGraphicsCard);
  bool canDrawOnSurface();
  void presentOnSurface(const uint32_t* pixels, const FrameChanges& changes);
  static int watchWindow(void* backend, SDL_Event* event);
  void countFrame();

  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  Size screen_;
  // Frames go through scaler_ into the window's surface rather than through renderer_.
  bool onSurface_ = false;
  std::unique_ptr<FrameScaler> scaler_;
  // The window lost what it showed (uncovered, resized): the next frame goes out whole.
  std::atomic<bool> showWhole_ = true;
  uint32_t audioDevice_ = 0;
  AudioLink audioLink_;
  bool started_ = false;
  std::array<bool, kKeyCount> latched_{};
  // The keyboard snapshot fetched events since takeEvents last ran: those are taken first.
  bool pumpedForTake_ = false;
  std::array<int, kKeyCount> scancodes_{};
  SdlPads pads_;
  MessagePresenter presenter_;
  // With KAPERFAHRT_FRAME_LOG naming a file, every frame shown adds its number there as a
  // line: tests tell the frame rate by counting frames, not by timing.
  std::FILE* frameLog_ = nullptr;
  uint64_t framesShown_ = 0;
};
