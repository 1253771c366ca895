#include "media/keyboard.h"

namespace {

// Any value of the enum type, even one cast from a wild number, stays inside the tables.
bool known(Key key) {
  const int index = static_cast<int>(key);
  return index >= 0 && index < kKeyCount;
}

}  // namespace

void Keyboard::takeSnapshot(const std::array<bool, kKeyCount>& down) { down_ = down; }

bool Keyboard::isDown(Key key) const { return known(key) && down_[static_cast<size_t>(key)]; }

bool Keyboard::wasReleased(Key key) {
  if (!known(key)) return false;
  const auto index = static_cast<size_t>(key);
  const bool released = !down_[index] && downWhenAsked_[index];
  downWhenAsked_[index] = down_[index];
  return released;
}
