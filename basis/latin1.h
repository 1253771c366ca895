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

// The other way, for texts written in UTF-8 that a Latin-1 surface shows: a character beyond
// Latin-1 becomes '?', but for the ellipsis, which becomes three dots. Bytes that are no
// UTF-8 pass as they are.
inline std::string utf8ToLatin1(std::string_view utf8) {
  std::string latin1;
  latin1.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size(); ++i) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    const auto next = [&utf8, i](size_t k) {
      return i + k < utf8.size() ? static_cast<unsigned char>(utf8[i + k]) : 0;
    };
    const auto follows = [&next](size_t k) { return (next(k) & 0xC0) == 0x80; };
    if (byte < 0x80) {
      latin1 += static_cast<char>(byte);
    } else if ((byte & 0xE0) == 0xC0 && follows(1)) {
      const unsigned code = (byte & 0x1Fu) << 6 | (next(1) & 0x3Fu);
      latin1 += code < 0x100 ? static_cast<char>(code) : '?';
      i += 1;
    } else if ((byte & 0xF0) == 0xE0 && follows(1) && follows(2)) {
      const bool ellipsis = byte == 0xE2 && next(1) == 0x80 && next(2) == 0xA6;
      latin1 += ellipsis ? "..." : "?";
      i += 2;
    } else if ((byte & 0xF8) == 0xF0 && follows(1) && follows(2) && follows(3)) {
      latin1 += '?';
      i += 3;
    } else {
      latin1 += static_cast<char>(byte);
    }
  }
  return latin1;
}
