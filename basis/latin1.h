// The game's texts and settings names are Latin-1; SDL, SDL_ttf and a settings file with
// the UTF-8 mark take UTF-8. Plain C++, so the settings store can use it too.
#pragma once

#include <string>
#include <string_view>

// Each byte of 0x80 and above becomes its two-byte UTF-8 form.
inline std::string latin1ToUtf8(std::string_view latin1) {
  std::string utf8;
  utf8.reserve(latin1.size() * 2);
  for (const char c : latin1) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      utf8 += c;
    } else {
      utf8 += static_cast<char>(0xC0 | (byte >> 6));
      utf8 += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return utf8;
}
