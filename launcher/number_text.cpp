#include "launcher/number_text.h"

#include <cfloat>
#include <cmath>
#include <limits>

#include "settings/settings_text.h"

std::string classValueText(float value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "+Infinity" : "-Infinity";
  if (value == 0.0f) return "0.000000";  // also -0
  return settings::formatFloat(value);
}

float editorNumber(std::string_view text) {
  if (text == "+Infinity") return std::numeric_limits<float>::infinity();
  if (text == "-Infinity") return -std::numeric_limits<float>::infinity();
  const float value = settings::parseFloatText(text);
  if (std::isinf(value)) return std::copysign(FLT_MAX, value);
  return value;
}

namespace {

// The value of c as a digit of base, or -1.
int digitValue(char c, int base) {
  int value = -1;
  if (c >= '0' && c <= '9') value = c - '0';
  if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
  if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
  return value < base ? value : -1;
}

}  // namespace

int32_t rangeNumber(std::string_view text) {
  size_t pos = 0;
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
  const bool negative = pos < text.size() && text[pos] == '-';
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) ++pos;
  int base = 10;
  if (pos < text.size() && text[pos] == '$') base = 16;
  if (pos < text.size() && text[pos] == '%') base = 2;
  if (base != 10) ++pos;
  // Unsigned, so that a long text wraps around instead of overflowing.
  uint64_t value = 0;
  for (; pos < text.size() && digitValue(text[pos], base) >= 0; ++pos) {
    value =
        value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digitValue(text[pos], base));
  }
  if (negative) value = 0 - value;
  return static_cast<int32_t>(static_cast<uint32_t>(value));
}
