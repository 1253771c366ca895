#include "settings/settings_text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <limits>

namespace settings {
namespace {

using Kind = Entry::Kind;

std::string describe(const std::vector<Entry>& entries) {
  std::string out;
  for (const Entry& e : entries) {
    out += e.kind == Kind::Group ? "G<" : e.kind == Kind::Comment ? "C<" : "K<";
    out += e.name + ">" + (e.kind == Kind::Key ? "<" + e.value + ">" : "");
  }
  return out;
}

TEST(SettingsParse, LinesBecomeHeadersCommentsAndKeys) {
  struct Case {
    std::string_view content, expected;
  };
  const Case cases[] = {
      {";a\n;  b\n; c", "C<a>C< b>C<c>"},
      {"[Schiff_1] comment\r\n[no end\r\n[a]b]", "G<Schiff_1>G<no end>G<a>"},
      {"  \t[G]\r\n\r\n\r\n\t x\t =  1 \r\n", "G<G>K<x><1 >"},
      {"x = y = z", "K<x><y = z>"},
      {"a=1\rb=2\nc=3\r\n\n\rd=4", "K<a><1>K<b><2>K<c><3>K<d><4>"},
      {"=5\r\n = \r\n", "K<><5>K<><>"},
      {"abc\r[G]\rx", "K<abc><[G]>K<x><>"},
      {"   ", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(describe(parseEntries(c.content)), c.expected) << c.content;
}

TEST(SettingsParse, WrittenFormReadsBackAsTheSameEntries) {
  const std::string_view messy = "\t; x\n[A] tail\r\nk  =  v = w  \nnoeq\n;\r\n  =\n[B\n  n\r\n";
  const std::vector<Entry> entries = parseEntries(messy);
  const std::string written = formatEntries(entries, false);
  EXPECT_EQ(describe(parseEntries(written)), describe(entries));
  EXPECT_EQ(formatEntries(parseEntries(written), false), written);
  EXPECT_EQ(formatEntries({}, true), "\xEF\xBB\xBF\r\n");
  EXPECT_EQ(formatEntries({}, false), "");
  // A mark that was not at the very start must not turn into one when written.
  const std::vector<Entry> lateMark = parseEntries("\n\xEF\xBB\xBFk = v");
  EXPECT_EQ(formatEntries(lateMark, false), "; \r\n\xEF\xBB\xBFk = v\r\n");
}

TEST(SettingsNumbers, FloatTextTakesItsLeadingDecimalNumber) {
  constexpr float kInf = std::numeric_limits<float>::infinity();
  struct Case {
    std::string_view text;
    float expected;
  };
  const Case cases[] = {
      {"  100.5  ", 100.5f},
      {"4.5", 4.5f},
      {"$10", 0},
      {"abc", 0},
      {"", 0},
      {"inf", 0},
      {"-nan", 0},
      {"0x10", 0},
      {".5", 0.5f},
      {"5.", 5},
      {"-.", 0},
      {"+3e2x", 300},
      {"1e", 1},
      {"1e+", 1},
      {"-1.5E-1", -0.15f},
      {"\v\f 7", 7},
      {"150.7", 150.7f},
      {"1e-400", 0},
      {"0.015000", 0.015f},
      {"1e30", 1e30f},
      {"1e39", kInf},
      {"-1e400", -kInf},
      {"340282346638528859811704183484516925440.000000", FLT_MAX},
      {"3.4028235e38", FLT_MAX},
      {"3.4028236e38", kInf},
      {"1e99999999999999999999", kInf},
      {"0.000000000000000000000000000000000000000001e400", kInf},
  };
  for (const Case& c : cases) EXPECT_EQ(parseFloatText(c.text), c.expected) << c.text;
}

TEST(SettingsNumbers, IntegerTextTakesItsLeadingWholeNumberAndSaturates) {
  struct Case {
    std::string_view text;
    int32_t expected;
  };
  const Case cases[] = {
      {"  100.5  ", 100},
      {"4.5", 4},
      {"100.000000", 100},
      {"-7", -7},
      {"+7", 7},
      {"$10", 0},
      {"- 5", 0},
      {"1e3", 1},
      {"", 0},
      {"0x1F", 0},
      {"2147483647", INT32_MAX},
      {"2147483648", INT32_MAX},
      {"-2147483648", INT32_MIN},
      {"-2147483649", INT32_MIN},
      {"99999999999999999999999999", INT32_MAX},
  };
  for (const Case& c : cases) EXPECT_EQ(parseIntText(c.text), c.expected) << c.text;
}

TEST(SettingsNumbers, WrittenAsFixedSixDigitsAndPlainIntegers) {
  EXPECT_EQ(formatFloat(0.015f), "0.015000");
  EXPECT_EQ(formatFloat(2.0f), "2.000000");
  EXPECT_EQ(formatFloat(150.7f), "150.699997");
  EXPECT_EQ(formatFloat(-0.5f), "-0.500000");
  EXPECT_EQ(parseFloatText(formatFloat(FLT_MAX)), FLT_MAX);
  EXPECT_EQ(parseFloatText(formatFloat(std::numeric_limits<float>::quiet_NaN())), 0.0f);
  for (float inf :
       {std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity()}) {
    EXPECT_EQ(parseFloatText(formatFloat(inf)), inf);
  }
  EXPECT_EQ(formatFloat(-std::numeric_limits<float>::infinity()),
            "-340282366920938463463374607431768211456.000000");
  EXPECT_EQ(formatInt(-20), "-20");
  EXPECT_EQ(formatInt(INT32_MIN), "-2147483648");
}

}  // namespace
}  // namespace settings
