#include "settings/settings_text.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace settings {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isLineEnd(char c) { return c == '\r' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isSpace(char c) { return isBlank(c) || isLineEnd(c) || c == '\v' || c == '\f'; }

size_t skipBlanks(std::string_view text, size_t pos) {
  while (pos < text.size() && isBlank(text[pos])) ++pos;
  return pos;
}

size_t lineEndFrom(std::string_view text, size_t pos) {
  while (pos < text.size() && !isLineEnd(text[pos])) ++pos;
  return pos;
}

Entry parseComment(std::string_view text, size_t& pos) {
  ++pos;  // ";"
  if (pos < text.size() && text[pos] == ' ') ++pos;
  const size_t end = lineEndFrom(text, pos);
  Entry entry{Entry::Kind::Comment, std::string(text.substr(pos, end - pos)), {}};
  pos = end;
  return entry;
}

Entry parseHeader(std::string_view text, size_t& pos) {
  ++pos;  // "["
  const size_t end = lineEndFrom(text, pos);
  const std::string_view line = text.substr(pos, end - pos);
  Entry entry{Entry::Kind::Group, std::string(line.substr(0, line.find(']'))), {}};
  pos = end;
  return entry;
}

// The key ends at "=" or at the line end; that byte is consumed either way, which is why a
// key without "=" in an LF-only file takes the next line as its value.
Entry parseKeyEntry(std::string_view text, size_t& pos) {
  const size_t end = lineEndFrom(text, pos);
  const std::string_view line = text.substr(pos, end - pos);
  std::string_view key = line.substr(0, line.find('='));
  pos += key.size();
  while (!key.empty() && isBlank(key.back())) key.remove_suffix(1);
  if (pos < text.size()) ++pos;
  pos = skipBlanks(text, pos);
  const size_t valueEnd = lineEndFrom(text, pos);
  Entry entry{Entry::Kind::Key, std::string(key), std::string(text.substr(pos, valueEnd - pos))};
  pos = valueEnd;
  return entry;
}

void appendWritten(std::string& out, const Entry& entry) {
  switch (entry.kind) {
    case Entry::Kind::Group:
      out.append("[").append(entry.name).append("]");
      break;
    case Entry::Kind::Comment:
      out.append("; ").append(entry.name);
      break;
    case Entry::Kind::Key:
      out.append(entry.name).append(" = ").append(entry.value);
      break;
  }
  out.append("\r\n");
}

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

size_t skipSpaces(std::string_view text) {
  size_t pos = 0;
  while (pos < text.size() && isSpace(text[pos])) ++pos;
  return pos;
}

size_t countDigits(std::string_view text, size_t pos) {
  size_t n = 0;
  while (pos + n < text.size() && isDigit(text[pos + n])) ++n;
  return n;
}

// Length of an exponent part ("e", optional sign, digits) at pos; 0 when there is none.
size_t exponentLength(std::string_view text, size_t pos) {
  if (pos >= text.size() || (text[pos] != 'e' && text[pos] != 'E')) return 0;
  size_t signLength = (pos + 1 < text.size() && (text[pos + 1] == '+' || text[pos + 1] == '-'));
  const size_t digits = countDigits(text, pos + 1 + signLength);
  return digits == 0 ? 0 : 1 + signLength + digits;
}

// Only called when the number is outside the double range: tells overflow from underflow by
// where the first significant digit stands, shifted by the exponent.
bool isHugeMagnitude(std::string_view number) {
  const size_t expAt = number.find_first_of("eE");
  const std::string_view mantissa = number.substr(0, expAt);
  int64_t exponent = 0;
  if (expAt != std::string_view::npos) {
    std::string_view digits = number.substr(expAt + 1);
    const bool negative = digits.front() == '-';
    if (digits.front() == '+' || digits.front() == '-') digits.remove_prefix(1);
    for (char c : digits) exponent = std::min<int64_t>(exponent * 10 + (c - '0'), 1'000'000'000);
    if (negative) exponent = -exponent;
  }
  const size_t point = std::min(mantissa.find('.'), mantissa.size());
  const size_t firstSignificant = mantissa.find_first_not_of("0.");
  if (firstSignificant == std::string_view::npos) return false;
  const int64_t position = firstSignificant < point
                               ? static_cast<int64_t>(point - firstSignificant)
                               : -static_cast<int64_t>(firstSignificant - point - 1);
  return position + exponent > 0;
}

// Rounds to the nearest float as a conversion does: from halfway past the largest float
// on, the result is infinity (spelled out, since an out-of-range cast is undefined).
float narrowToFloat(double value) {
  constexpr double kHalfwayToInfinity = double{FLT_MAX} + 0x1p103;
  if (value >= kHalfwayToInfinity) return std::numeric_limits<float>::infinity();
  if (value <= -kHalfwayToInfinity) return -std::numeric_limits<float>::infinity();
  return static_cast<float>(value);
}

}  // namespace

std::vector<Entry> parseEntries(std::string_view content) {
  std::vector<Entry> entries;
  size_t pos = 0;
  while (pos < content.size()) {
    pos = skipBlanks(content, pos);
    if (pos == content.size()) break;
    const char c = content[pos];
    if (c == ';') {
      entries.push_back(parseComment(content, pos));
    } else if (c == '[') {
      entries.push_back(parseHeader(content, pos));
    } else if (!isLineEnd(c)) {
      entries.push_back(parseKeyEntry(content, pos));
    }
    while (pos < content.size() && isLineEnd(content[pos])) ++pos;
  }
  return entries;
}

// A file without the mark whose first key happens to begin with the mark bytes (possible
// when blanks preceded them) would be taken for a marked file at the next open, and its
// Latin-1 keys would no longer be found. An empty comment line in front prevents that.
std::string formatEntries(const std::vector<Entry>& entries, bool utf8Mark) {
  std::string out;
  if (utf8Mark) out.append(kUtf8Mark).append("\r\n");
  if (!utf8Mark && !entries.empty() && entries.front().kind == Entry::Kind::Key &&
      entries.front().name.starts_with(kUtf8Mark)) {
    out.append("; \r\n");
  }
  for (const Entry& entry : entries) appendWritten(out, entry);
  return out;
}

bool sameName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

float parseFloatText(std::string_view text) {
  size_t pos = skipSpaces(text);
  const bool negative = pos < text.size() && text[pos] == '-';
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
  const size_t start = pos;
  const size_t intDigits = countDigits(text, pos);
  pos += intDigits;
  size_t fracDigits = 0;
  if (pos < text.size() && text[pos] == '.') {
    fracDigits = countDigits(text, pos + 1);
    ++pos;
    pos += fracDigits;
  }
  if (intDigits + fracDigits == 0) return 0.0f;
  pos += exponentLength(text, pos);
  const std::string_view number = text.substr(start, pos - start);
  double value = 0.0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    value = isHugeMagnitude(number) ? std::numeric_limits<double>::max() : 0.0;
  }
  return narrowToFloat(negative ? -value : value);
}

int32_t parseIntText(std::string_view text) {
  constexpr int64_t kBeyond = int64_t{std::numeric_limits<int32_t>::max()} + 2;
  size_t pos = skipSpaces(text);
  const bool negative = pos < text.size() && text[pos] == '-';
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
  int64_t magnitude = 0;
  for (; pos < text.size() && isDigit(text[pos]); ++pos) {
    magnitude = std::min(magnitude * 10 + (text[pos] - '0'), kBeyond);
  }
  const int64_t value = negative ? -magnitude : magnitude;
  return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

std::string formatFloat(float value) {
  // 2^128, the first power of two beyond the float range.
  const double written = std::isinf(value) ? std::copysign(0x1p128, value) : value;
  char buffer[128];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, written, std::chars_format::fixed, 6);
  return std::string(buffer, result.ptr);
}

std::string formatInt(int32_t value) {
  char buffer[16];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

}  // namespace settings
