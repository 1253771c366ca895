#include "media/sdl_backend.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "media/frame_scaler.h"
#include "media/latin1.h"

namespace {

// The players' twelve keys, indexed by Key, from bindings in the order of Steuerung's fields.
// Keypad 1 and 2 are the same scancodes with NumLock on or off.
void bindPlayerKeys(std::array<int, kKeyCount>& scancodes, const KeyBindings& bindings) {
  constexpr std::array<std::array<Key, kControlsPerPlayer>, 2> kKeys = {{
      {Key::W, Key::S, Key::A, Key::D, Key::V, Key::B},
      {Key::Up, Key::Down, Key::Left, Key::Right, Key::Keypad1, Key::Keypad2},
  }};
  for (size_t player = 0; player < kKeys.size(); ++player) {
    for (size_t control = 0; control < kControlsPerPlayer; ++control) {
      const int32_t code = bindings[player][control];
      scancodes[static_cast<size_t>(kKeys[player][control])] =
          keyBindable(code) ? code : kDefaultKeyBindings[player][control];
    }
  }
}

constexpr int kAudioRate = 44100;
constexpr int kAudioFrames = 1024;

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
  bindPlayerKeys(scancodes_, kDefaultKeyBindings);
  scancodes_[static_cast<size_t>(Key::Return)] = SDL_SCANCODE_RETURN;
  scancodes_[static_cast<size_t>(Key::Escape)] = SDL_SCANCODE_ESCAPE;
  scancodes_[static_cast<size_t>(Key::P)] = SDL_SCANCODE_P;
  scancodes_[static_cast<size_t>(Key::One)] = SDL_SCANCODE_1;
  scancodes_[static_cast<size_t>(Key::Two)] = SDL_SCANCODE_2;
  scancodes_[static_cast<size_t>(Key::Four)] = SDL_SCANCODE_4;
  scancodes_[static_cast<size_t>(Key::ArrowLeft)] = SDL_SCANCODE_LEFT;
  scancodes_[static_cast<size_t>(Key::ArrowRight)] = SDL_SCANCODE_RIGHT;
}

void SdlBackend::setKeyBindings(const KeyBindings& bindings) {
  bindPlayerKeys(scancodes_, bindings);
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
  SDL_PumpEvents();
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

bool SdlBackend::pollEvent() {
  SDL_Event event;
  if (SDL_PollEvent(&event) == 0) return false;
  latch(event);
  return true;
}

int SdlBackend::takeEvents() {
  SDL_PumpEvents();
  // PeepEvents does not pump: only what the one pump above queued is taken.
  std::array<SDL_Event, 64> events;
  int taken = 0;
  int got = 0;
  while ((got = SDL_PeepEvents(events.data(), static_cast<int>(events.size()), SDL_GETEVENT,
                               SDL_FIRSTEVENT, SDL_LASTEVENT)) > 0) {
    for (int i = 0; i < got; ++i) latch(events[i]);
    taken += got;
  }
  return taken;
}

void SdlBackend::latch(const SDL_Event& event) {
  pads_.take(event);
  if (event.type == SDL_WINDOWEVENT) followWindow(event);
  if (event.type != SDL_KEYDOWN) return;
  // Alt+F4 reaches the window itself only where no window manager takes it: then, too, it
  // asks as the manager's close request does.
  if (event.key.keysym.scancode == SDL_SCANCODE_F4 && (event.key.keysym.mod & KMOD_ALT) != 0) {
    askToLeave();
  }
  // One key may stand for several (a player may bind what another left free).
  for (int i = 0; i < kKeyCount; ++i) {
    if (scancodes_[i] == event.key.keysym.scancode) latched_[i] = true;
  }
}

// SDL changes nothing of a full-screen window's place on top, so the window manager is asked
// directly, as the conventions of X desktops have it.
void SdlBackend::keepOnTop(bool above) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window_, &info) || info.subsystem != SDL_SYSWM_X11) return;
  Display* display = info.info.x11.display;
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = info.info.x11.window;
  event.xclient.message_type = XInternAtom(display, "_NET_WM_STATE", False);
  event.xclient.format = 32;
  constexpr long kRemove = 0, kAdd = 1;
  event.xclient.data.l[0] = above ? kAdd : kRemove;
  event.xclient.data.l[1] = static_cast<long>(XInternAtom(display, "_NET_WM_STATE_ABOVE", False));
  event.xclient.data.l[3] = 1;  // asked by an application
  XSendEvent(display, DefaultRootWindow(display), False,
             SubstructureRedirectMask | SubstructureNotifyMask, &event);
  XFlush(display);
}

// A window manager's close request (Alt+F4, the close entry of a task bar) asks "Beenden"
// as Escape does: Escape counts as pressed now and released at the next reading.
void SdlBackend::askToLeave() { latched_[static_cast<size_t>(Key::Escape)] = true; }

// A full-screen window that stays on top while another has the keyboard would hide the
// window switched to: it gives up its place on top with the focus and takes it back with it.
void SdlBackend::followWindow(const SDL_Event& event) {
  if (window_ == nullptr || event.window.windowID != SDL_GetWindowID(window_)) return;
  switch (event.window.event) {
    case SDL_WINDOWEVENT_CLOSE:
      askToLeave();
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      keepOnTop(false);
      break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      keepOnTop(true);
      break;
    default:
      break;
  }
}

// The key events waiting in the queue; the other events stay for pollEvent.
void SdlBackend::takeKeyEvents() {
  SDL_Event event;
  while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_KEYDOWN, SDL_KEYUP) > 0) latch(event);
}

void SdlBackend::keyboardSnapshot(std::array<bool, kKeyCount>& down) {
  SDL_PumpEvents();
  takeKeyEvents();
  int count = 0;
  const Uint8* state = SDL_GetKeyboardState(&count);
  for (int i = 0; i < kKeyCount; ++i) {
    // A tap between two snapshots is gone from the state but was latched.
    down[i] = latched_[i] || (scancodes_[i] < count && state[scancodes_[i]] != 0);
  }
  latched_.fill(false);
}

void SdlBackend::padSnapshot(std::vector<PadState>& pads) { pads_.snapshot(pads); }

void SdlBackend::rumblePad(int index) { pads_.rumble(index); }

bool SdlBackend::hasFocus() {
  if (window_ == nullptr) return true;
  return (SDL_GetWindowFlags(window_) & SDL_WINDOW_INPUT_FOCUS) != 0;
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

void SdlBackend::audioCallback(void* link, uint8_t* stream, int bytes) {
  const auto* audio = static_cast<const AudioLink*>(link);
  const int frames = bytes / static_cast<int>(sizeof(int16_t)) / audio->channels;
  audio->source->render(reinterpret_cast<int16_t*>(stream), frames);
}

bool SdlBackend::openAudio(AudioSource* source, AudioFormat& format) {
  closeAudio();
  if (source == nullptr) return false;
  SDL_AudioSpec want{};
  want.freq = kAudioRate;
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = kAudioFrames;
  want.callback = &SdlBackend::audioCallback;
  want.userdata = &audioLink_;
  SDL_AudioSpec have{};
  audioLink_ = {source, want.channels};
  // The rate may follow the device (no resampling in SDL then); the channel count may not:
  // the source starts rendering before its owner learns the format, and stereo frames
  // into a mono device's buffer would overrun it. SDL converts channels itself.
  audioDevice_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
  if (audioDevice_ == 0) return false;  // no device: the game runs silent
  format = {have.freq, have.channels};
  SDL_PauseAudioDevice(audioDevice_, 0);
  return true;
}

void SdlBackend::closeAudio() {
  if (audioDevice_ != 0) SDL_CloseAudioDevice(audioDevice_);
  audioDevice_ = 0;
}

void SdlBackend::lockAudio() {
  if (audioDevice_ != 0) SDL_LockAudioDevice(audioDevice_);
}

void SdlBackend::unlockAudio() {
  if (audioDevice_ != 0) SDL_UnlockAudioDevice(audioDevice_);
}
