#include "media/sdl_backend.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "basis/latin1.h"
#include "media/frame_scaler.h"

namespace {

// SDL_Quit forgets every hint, so they are set again before each init.
void setHints() {
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");  // kill -TERM must end the game
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
  // Keep the compositor on: message boxes must show over the full-screen battle window.
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  // The "Beenden" box has the focus while a pad answers it.
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  // A message box takes the focus; the battle window must stay where it is.
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  // The software renderer draws into the window's own shared-memory image, not through an
  // OpenGL texture (which, without a graphics card, is OpenGL done in software again).
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
}

// What the X server offers, asked over a connection of our own before the window exists.
struct XServerFacts {
  bool known = false;            // the video driver is X11 and the server answered
  bool windowManager = false;    // one that follows the EWMH conventions runs
  bool directRendering = false;  // DRI2, DRI3 or NVIDIA's GLX: a graphics card's OpenGL
};

XServerFacts askXServer() {
  XServerFacts facts;
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver == nullptr || std::string_view(driver) != "x11") return facts;
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return facts;
  facts.known = true;
  int opcode = 0, event = 0, error = 0;
  for (const char* extension : {"DRI3", "DRI2", "NV-GLX"}) {
    facts.directRendering |= XQueryExtension(display, extension, &opcode, &event, &error) != 0;
  }
  const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  if (check != None &&
      XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW, &type,
                         &format, &count, &after, &data) == Success) {
    facts.windowManager = count == 1;
  }
  if (data != nullptr) XFree(data);
  XCloseDisplay(display);
  return facts;
}

}  // namespace

SdlBackend::SdlBackend() {
  if (const char* log = std::getenv("KAPERFAHRT_FRAME_LOG")) frameLog_ = std::fopen(log, "w");
  SdlBackend::setKeyBindings(kDefaultKeyBindings);
  scancodes_[static_cast<size_t>(Key::Return)] = SDL_SCANCODE_RETURN;
  scancodes_[static_cast<size_t>(Key::Escape)] = SDL_SCANCODE_ESCAPE;
  scancodes_[static_cast<size_t>(Key::P)] = SDL_SCANCODE_P;
  scancodes_[static_cast<size_t>(Key::One)] = SDL_SCANCODE_1;
  scancodes_[static_cast<size_t>(Key::Two)] = SDL_SCANCODE_2;
  scancodes_[static_cast<size_t>(Key::Four)] = SDL_SCANCODE_4;
  scancodes_[static_cast<size_t>(Key::ArrowLeft)] = SDL_SCANCODE_LEFT;
  scancodes_[static_cast<size_t>(Key::ArrowRight)] = SDL_SCANCODE_RIGHT;
}

SdlBackend::~SdlBackend() {
  shutdown();
  if (frameLog_ != nullptr) std::fclose(frameLog_);
}

bool SdlBackend::initScreen() {
  setHints();
  started_ = true;  // SDL_Quit is due even after a partial init
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return false;
  return showsAnything();
}

// Without a display SDL falls back to a driver that draws nowhere: the battle would then
// run unseen, with no key to leave it. Such a driver counts only when asked for by name
// (as the tests do).
bool SdlBackend::showsAnything() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver == nullptr) return false;
  const std::string_view name = driver;
  if (name != "offscreen" && name != "dummy") return true;
  const char* requested = SDL_GetHint(SDL_HINT_VIDEODRIVER);
  return requested != nullptr && name == requested;
}

bool SdlBackend::initKeyboard() {
  setHints();
  started_ = true;
  if (SDL_InitSubSystem(SDL_INIT_EVENTS) != 0) return false;
  pads_.start();  // a system without pads still has a keyboard
  return true;
}

bool SdlBackend::initSound() {
  setHints();
  started_ = true;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) return true;
  // No working driver (or a misspelt SDL_AUDIODRIVER): run silent rather than not at all.
  // The hint must override, the environment variable wins over a normal one.
  SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
  return SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
}

void SdlBackend::release(MediaService service) {
  switch (service) {
    case MediaService::Sound:
      closeAudio();
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      break;
    case MediaService::Keyboard:
      latched_.fill(false);
      SDL_QuitSubSystem(SDL_INIT_EVENTS);  // the video subsystem still holds events
      break;
    case MediaService::ScreenAndSprites:
      closeScreen();
      break;
    case MediaService::GameControllers:
      pads_.stop();
      break;
    case MediaService::Windows:
      closeWindow();
      break;
    case MediaService::Desktop:
      shutdown();
      break;
    case MediaService::Rotatables:  // turned drawing and text belong to the compositor
    case MediaService::Fonts:
      break;
  }
}

void SdlBackend::shutdown() {
  closeAudio();
  closeWindow();
  pads_.stop();
  if (started_) SDL_Quit();
  started_ = false;
  latched_.fill(false);
}

Size SdlBackend::desktopSize() {
  SDL_DisplayMode mode{};
  if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return {};
  return {mode.w, mode.h};
}

bool SdlBackend::openWindow(int w, int h) {
  closeWindow();
  setHints();
  const XServerFacts x = askXServer();
  Uint32 flags = SDL_WINDOW_ALWAYS_ON_TOP | SDL_WINDOW_BORDERLESS;
  // Full-screen-desktop: a window manager can shrink a plain borderless window to the work
  // area. Without one nobody moves it, and SDL would wait 100 ms for an answer to the
  // full-screen request that never comes.
  if (!x.known || x.windowManager) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
  // Named for task bars, window lists and Alt+Tab.
  window_ = SDL_CreateWindow("Kaperfahrt", 0, 0, w, h, flags);
  if (window_ == nullptr) return false;
  // An X server that lets no client render directly has no graphics card for us: OpenGL
  // would be Mesa's software rasteriser, a quarter of a second only to find that out.
  if (!choosePresenter(!x.known || x.directRendering)) {
    closeWindow();
    return false;
  }
  // The window's arrival (shown, exposed, entered, focused, the pointer over it) concerns no
  // frame; the battle's first frame would otherwise wait 5 ms for each of these events.
  SDL_PumpEvents();
  SDL_FlushEvent(SDL_WINDOWEVENT);
  SDL_FlushEvent(SDL_MOUSEMOTION);
  return true;
}

void SdlBackend::closeWindow() {
  closeScreen();
  if (onSurface_) SDL_DelEventWatch(&SdlBackend::watchWindow, this);
  onSurface_ = false;
  if (window_ != nullptr) SDL_DestroyWindow(window_);
  window_ = nullptr;
}

uint64_t SdlBackend::nativeWindow() const {
  if (window_ == nullptr) return 0;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window_, &info) || info.subsystem != SDL_SYSWM_X11) return 0;
  return static_cast<uint64_t>(info.info.x11.window);
}

bool SdlBackend::messageBox(const std::string& title, const std::string& text, MessageKind kind) {
  std::optional<bool> answer;
  pads_.answer();  // presses from before the question are no answer to it
  if (presenter_) {
    answer = presenter_(title, text, kind, nativeWindow(), [this] { return pads_.answer(); });
  }
  if (!answer) answer = showSdlBox(title, text, kind);
  if (!answer) {
    std::fprintf(stderr, "%s: %s\n", latin1ToUtf8(title).c_str(), latin1ToUtf8(text).c_str());
    answer = true;  // an unaskable "Beenden" must not lock the player in the battle
  }
  // Keys that went to the box (or were pressed before it) must not act after it, and the
  // keys that follow belong to the battle window again.
  SDL_PumpEvents();
  SDL_FlushEvents(SDL_KEYDOWN, SDL_KEYUP);
  latched_.fill(false);
  pads_.answer();  // and so do pad presses
  if (window_ != nullptr) {
    SDL_RaiseWindow(window_);
    SDL_SetWindowInputFocus(window_);
  }
  return kind == MessageKind::YesNoQuestion ? *answer : true;
}

// SDL's box draws with X core fonts and has no question icon.
std::optional<bool> SdlBackend::showSdlBox(const std::string& title, const std::string& text,
                                           MessageKind kind) {
  const bool question = kind == MessageKind::YesNoQuestion;
  const SDL_MessageBoxButtonData ok[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 1, "OK"}};
  const SDL_MessageBoxButtonData yesNo[] = {{SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Ja"},
                                            {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "Nein"}};
  const std::string utf8Title = latin1ToUtf8(title);
  const std::string utf8Text = latin1ToUtf8(text);
  SDL_MessageBoxData data{};
  data.flags = SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
  data.window = window_;
  data.title = utf8Title.c_str();
  data.message = utf8Text.c_str();
  data.numbuttons = question ? 2 : 1;
  data.buttons = question ? yesNo : ok;
  int pressed = 1;
  if (SDL_ShowMessageBox(&data, &pressed) != 0) return std::nullopt;
  return pressed == 1;
}

void SdlBackend::sleepMs(int ms) { SDL_Delay(static_cast<Uint32>(ms > 0 ? ms : 0)); }

uint64_t SdlBackend::nowMicros() {
  const uint64_t counter = SDL_GetPerformanceCounter();
  const uint64_t frequency = SDL_GetPerformanceFrequency();
  // Split so that counter x 1e6 cannot overflow.
  return counter / frequency * 1000000 + counter % frequency * 1000000 / frequency;
}
