// Game pads through SDL's GameController API: plugged in and out at any time, read once a
// frame into the players' controls, with button presses latched between two readings.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "media/backend.h"

struct _SDL_GameController;
union SDL_Event;

class SdlPads {
 public:
  SdlPads() = default;
  ~SdlPads();
  SdlPads(const SdlPads&) = delete;
  SdlPads& operator=(const SdlPads&) = delete;

  // Brings up SDL's game controllers; false when there are none on this system.
  bool start();
  void stop();
  // Notes a button press from the event queue, so that a tap between two readings counts.
  void take(const SDL_Event& event);
  // Opens newly plugged pads, forgets pulled ones and reads the rest, in plugging order.
  void snapshot(std::vector<PadState>& pads);
  void rumble(int index);
  // The answer a pad gave to a Yes/No question by a press since the last reading or call:
  // A yes, B no.
  std::optional<bool> answer();

 private:
  struct Pad {
    _SDL_GameController* controller = nullptr;
    int32_t id = -1;
    uint32_t latched = 0;  // one bit per SDL_GameControllerButton pressed since the last reading
  };

  void refresh();
  Pad* find(int32_t id);
  void takeButtonEvents();

  std::vector<Pad> pads_;
  bool started_ = false;
};
