// Which physical key drives each of the players' six controls. Keys are counted as USB HID
// usage numbers (the numbering of SDL's scancodes), so a binding names a place on the
// keyboard, whatever the layout prints on it.
#pragma once

#include <array>
#include <cstdint>

inline constexpr int kControlsPerPlayer = 6;  // in the order of Steuerung's fields

// [player][control].
using KeyBindings = std::array<std::array<int32_t, kControlsPerPlayer>, 2>;

// W S A D V B, and the arrow keys with keypad 1 and 2.
inline constexpr KeyBindings kDefaultKeyBindings = {{
    {26, 22, 4, 7, 25, 5},
    {82, 81, 80, 79, 89, 90},
}};

// Return, Escape and P keep their meaning in every battle: no control may take them.
inline constexpr std::array<int32_t, 3> kReservedKeys = {40, 41, 19};
inline constexpr int32_t kHighestKeyCode = 511;

constexpr bool keyBindable(int32_t code) {
  if (code < 4 || code > kHighestKeyCode) return false;  // 0 to 3 are no keys
  for (int32_t reserved : kReservedKeys) {
    if (code == reserved) return false;
  }
  return true;
}
