// Keys, pads and the battle window's events: what the players press and what the window
// manager asks of the window.
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

#include "media/sdl_backend.h"

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

}  // namespace

void SdlBackend::setKeyBindings(const KeyBindings& bindings) {
  bindPlayerKeys(scancodes_, bindings);
}

bool SdlBackend::pollEvent() {
  SDL_Event event;
  if (SDL_PollEvent(&event) == 0) return false;
  latch(event);
  return true;
}

// A frame loop takes the window's events and then reads the keys: the keys' pump fetches for
// both, once a frame, as each pump costs a round of system calls. Without a snapshot since the
// last call (a loop that reads no keys) this pumps itself.
int SdlBackend::takeEvents() {
  if (!pumpedForTake_) SDL_PumpEvents();
  pumpedForTake_ = false;
  // PeepEvents does not pump: only what was queued before this call is taken.
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
  pumpedForTake_ = true;
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
