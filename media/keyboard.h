// Key states as the game sees them: the snapshot taken by pollKeyboard, and per key the state
// it had when the game last asked whether the key was released.
#pragma once

#include <array>

#include "media/backend.h"

class Keyboard {
 public:
  void takeSnapshot(const std::array<bool, kKeyCount>& down);
  bool isDown(Key key) const;
  // True once per release: the key is up now and was down when last asked.
  bool wasReleased(Key key);

 private:
  std::array<bool, kKeyCount> down_{};
  std::array<bool, kKeyCount> downWhenAsked_{};
};
