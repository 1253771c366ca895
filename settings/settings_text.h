// The settings file as text: its entries, how a line becomes an entry and back, and how
// value texts become numbers. Everything here works on bytes and knows no files.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace settings {

// One line of the file as the store keeps it.
struct Entry {
  enum class Kind { Group, Comment, Key };
  Kind kind = Kind::Key;
  std::string name;   // group name, comment text or key text
  std::string value;  // key entries only
};

// The encoding mark that switches a file to UTF-8 names.
inline constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// Splits file content (without its encoding mark) into entries. Never fails: every line
// becomes a header, comment or key entry; blank lines vanish.
std::vector<Entry> parseEntries(std::string_view content);

// The written form: optional mark plus an empty line, then one CR LF terminated line per entry.
std::string formatEntries(const std::vector<Entry>& entries, bool utf8Mark);

// Equal when only the case of the ASCII letters A-Z differs.
bool sameName(std::string_view a, std::string_view b);

// The leading decimal number of a value text ("." is always the decimal point, no
// hexadecimal, no "inf"/"nan"); 0 when there is none. Narrowed to float as a conversion
// rounds: a number beyond the float range gives plus or minus infinity, one too small for
// it gives 0. No text yields NaN.
float parseFloatText(std::string_view text);

// The leading decimal whole number of a value text; 0 when there is none. Beyond 32 bits
// the result saturates at INT32_MIN / INT32_MAX, keeping at least the sign and the
// "very large" meaning instead of wrapping to an unrelated number.
int32_t parseIntText(std::string_view text);

// "%f" of the value widened to double, and "%d", both independent of the locale. Infinity,
// which "%f" writes as "inf" (read back as 0), is written as the number 2^128 in the same
// notation, which every reader narrows back to infinity. NaN stays "nan": no text reads as it.
std::string formatFloat(float value);
std::string formatInt(int32_t value);

}  // namespace settings
