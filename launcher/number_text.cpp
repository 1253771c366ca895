#include "launcher/number_text.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "launcher/catalogue.h"
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

// What comes before a range value's digits: blanks, a sign, "$" (hexadecimal) or "%" (binary).
struct RangePrefix {
  size_t digits = 0;  // where the digits begin
  bool negative = false;
  int base = 10;
};

RangePrefix rangePrefix(std::string_view text) {
  RangePrefix prefix;
  size_t& pos = prefix.digits;
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
  prefix.negative = pos < text.size() && text[pos] == '-';
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) ++pos;
  if (pos < text.size() && text[pos] == '$') prefix.base = 16;
  if (pos < text.size() && text[pos] == '%') prefix.base = 2;
  if (prefix.base != 10) ++pos;
  return prefix;
}

}  // namespace

int32_t rangeNumber(std::string_view text) {
  const auto [first, negative, base] = rangePrefix(text);
  size_t pos = first;
  // Unsigned, so that a long text wraps around instead of overflowing.
  uint64_t value = 0;
  for (; pos < text.size() && digitValue(text[pos], base) >= 0; ++pos) {
    value =
        value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digitValue(text[pos], base));
  }
  if (negative) value = 0 - value;
  return static_cast<int32_t>(static_cast<uint32_t>(value));
}

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

size_t skipBlanks(std::string_view text, size_t pos) {
  while (pos < text.size() && isBlank(text[pos])) ++pos;
  return pos;
}

size_t digitsAt(std::string_view text, size_t pos) {
  size_t n = 0;
  while (pos + n < text.size() && text[pos + n] >= '0' && text[pos + n] <= '9') ++n;
  return n;
}

// Where the decimal number that the editor's rule reads ends; nothing without digits.
std::optional<size_t> numberEnd(std::string_view text) {
  size_t pos = skipBlanks(text, 0);
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
  const size_t whole = digitsAt(text, pos);
  pos += whole;
  size_t fraction = 0;
  if (pos < text.size() && text[pos] == '.') {
    fraction = digitsAt(text, pos + 1);
    pos += 1 + fraction;
  }
  if (whole + fraction == 0) return std::nullopt;
  if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
    size_t at = pos + 1;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
    if (digitsAt(text, at) > 0) pos = at + digitsAt(text, at);
  }
  return pos;
}

std::string fixedSix(double value) {
  char buffer[400];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
  return std::string(buffer, result.ptr);
}

// "3.000000" as "3", "0.500000" as "0.5".
std::string shortly(std::string fixed) {
  if (fixed.find('.') == std::string::npos) return fixed;
  while (fixed.back() == '0') fixed.pop_back();
  if (fixed.back() == '.') fixed.pop_back();
  return fixed;
}

}  // namespace

std::optional<std::string> editorStoredValue(std::string_view text) {
  if (text == "+Infinity" || text == "-Infinity") return std::nullopt;
  const std::string kept = shortly(classValueText(editorNumber(text)));
  const std::optional<size_t> end = numberEnd(text);
  if (!end || skipBlanks(text, *end) != text.size()) return kept;
  // The file keeps six decimals of the float: a number it keeps as typed shows so there.
  const double typed = std::strtod(std::string(text).c_str(), nullptr);
  if (fixedSix(typed) != settings::formatFloat(editorNumber(text))) return kept;
  return std::nullopt;
}

std::optional<std::string> rangeStoredValue(std::string_view text) {
  const std::string kept = std::to_string(rangeNumber(text));
  const auto [first, negative, base] = rangePrefix(text);
  const uint64_t limit = negative ? uint64_t{1} << 31 : (uint64_t{1} << 31) - 1;
  uint64_t value = 0;
  size_t pos = first;
  for (; pos < text.size() && digitValue(text[pos], base) >= 0; ++pos) {
    value = std::min(
        value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digitValue(text[pos], base)),
        limit + 1);  // beyond is beyond, however far
  }
  if (pos == first || skipBlanks(text, pos) != text.size() || value > limit) return kept;
  return std::nullopt;
}

std::string storedAsNote(const std::string& value) {
  return filledIn(translatedText("Launcher", "wird als %1 gespeichert"), {value});
}
