#include "media/sdl_pads.h"

#include <SDL.h>

#include <algorithm>

namespace {

// About a third of a stick's travel: a stick at rest or brushed in passing steers nothing.
constexpr int16_t kStickDeadZone = 10000;
// A trigger pulled a quarter of its way counts as a pressed shoulder button.
constexpr int16_t kTriggerPulled = 8000;
constexpr uint16_t kRumbleLow = 0x6000, kRumbleHigh = 0xC000;
constexpr uint32_t kRumbleMs = 150;

uint32_t bit(SDL_GameControllerButton button) { return uint32_t{1} << button; }

bool held(SDL_GameController* c, uint32_t latched, SDL_GameControllerButton button) {
  return (latched & bit(button)) != 0 || SDL_GameControllerGetButton(c, button) != 0;
}

PadState readPad(SDL_GameController* c, uint32_t latched) {
  const int x = SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTX);
  const int y = SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTY);
  const auto button = [&](SDL_GameControllerButton b) { return held(c, latched, b); };
  PadState pad;
  Steuerung& s = pad.steuerung;
  s.Beschleunigen = y < -kStickDeadZone || button(SDL_CONTROLLER_BUTTON_DPAD_UP);
  s.Bremsen = y > kStickDeadZone || button(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
  s.Links = x < -kStickDeadZone || button(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
  s.Rechts = x > kStickDeadZone || button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
  s.FeuerLinks = button(SDL_CONTROLLER_BUTTON_LEFTSHOULDER) ||
                 SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_TRIGGERLEFT) > kTriggerPulled;
  s.FeuerRechts = button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER) ||
                  SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_TRIGGERRIGHT) > kTriggerPulled;
  pad.start = button(SDL_CONTROLLER_BUTTON_START);
  pad.back = button(SDL_CONTROLLER_BUTTON_BACK);
  return pad;
}

}  // namespace

SdlPads::~SdlPads() { stop(); }

bool SdlPads::start() {
  if (!started_) started_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
  if (!started_) return false;
  // Every moved stick would put events into the queue that the frame loop pauses after;
  // pads are read by state instead, and only button presses are latched from events. (SDL
  // makes a controller's button events from its joystick's, so those stay.)
  for (Uint32 type :
       {SDL_JOYAXISMOTION, SDL_JOYBALLMOTION, SDL_JOYBUTTONUP, SDL_CONTROLLERAXISMOTION,
        SDL_CONTROLLERBUTTONUP, SDL_CONTROLLERTOUCHPADDOWN, SDL_CONTROLLERTOUCHPADMOTION,
        SDL_CONTROLLERTOUCHPADUP, SDL_CONTROLLERSENSORUPDATE}) {
    SDL_EventState(type, SDL_IGNORE);
  }
  return true;
}

void SdlPads::stop() {
  for (Pad& pad : pads_) SDL_GameControllerClose(pad.controller);
  pads_.clear();
  if (started_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  started_ = false;
}

SdlPads::Pad* SdlPads::find(int32_t id) {
  for (Pad& pad : pads_) {
    if (pad.id == id) return &pad;
  }
  return nullptr;
}

void SdlPads::take(const SDL_Event& event) {
  if (event.type != SDL_CONTROLLERBUTTONDOWN || event.cbutton.button >= 32) return;
  if (Pad* pad = find(event.cbutton.which)) pad->latched |= uint32_t{1} << event.cbutton.button;
}

void SdlPads::takeButtonEvents() {
  SDL_Event event;
  while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_CONTROLLERBUTTONDOWN,
                        SDL_CONTROLLERBUTTONDOWN) > 0) {
    take(event);
  }
}

// By the device list rather than by events: whoever empties the event queue, no plug is missed.
void SdlPads::refresh() {
  std::erase_if(pads_, [](const Pad& pad) {
    if (SDL_GameControllerGetAttached(pad.controller)) return false;
    SDL_GameControllerClose(pad.controller);
    return true;
  });
  for (int i = 0; i < SDL_NumJoysticks(); ++i) {
    if (!SDL_IsGameController(i) || find(SDL_JoystickGetDeviceInstanceID(i)) != nullptr) continue;
    if (SDL_GameController* c = SDL_GameControllerOpen(i)) {
      pads_.push_back({c, SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(c)), 0});
    }
  }
}

void SdlPads::snapshot(std::vector<PadState>& pads) {
  pads.clear();
  if (!started_) return;
  SDL_GameControllerUpdate();
  takeButtonEvents();
  refresh();
  for (Pad& pad : pads_) {
    pads.push_back(readPad(pad.controller, pad.latched));
    pad.latched = 0;
  }
}

void SdlPads::rumble(int index) {
  if (index < 0 || index >= static_cast<int>(pads_.size())) return;
  // A pad without a motor says so and nothing happens.
  SDL_GameControllerRumble(pads_[static_cast<size_t>(index)].controller, kRumbleLow, kRumbleHigh,
                           kRumbleMs);
}

std::optional<bool> SdlPads::answer() {
  if (!started_) return std::nullopt;
  SDL_GameControllerUpdate();
  takeButtonEvents();
  refresh();
  // Presses only: a button held since before the question gives no answer.
  std::optional<bool> given;
  for (Pad& pad : pads_) {
    if (!given && (pad.latched & bit(SDL_CONTROLLER_BUTTON_A)) != 0) given = true;
    if (!given && (pad.latched & bit(SDL_CONTROLLER_BUTTON_B)) != 0) given = false;
    pad.latched = 0;
  }
  return given;
}
