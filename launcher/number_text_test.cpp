#include "launcher/number_text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

namespace {

TEST(ClassValueText, FixedNotationWithSixDecimals) {
  EXPECT_EQ(classValueText(0.015f), "0.015000");
  EXPECT_EQ(classValueText(100.0f), "100.000000");
  EXPECT_EQ(classValueText(150.7f), "150.699997");  // the float nearest to 150.7
  EXPECT_EQ(classValueText(-2.5f), "-2.500000");
  EXPECT_EQ(classValueText(FLT_MAX), "340282346638528859811704183484516925440.000000");
}

TEST(ClassValueText, SpecialValues) {
  EXPECT_EQ(classValueText(-0.0f), "0.000000");
  EXPECT_EQ(classValueText(std::numeric_limits<float>::infinity()), "+Infinity");
  EXPECT_EQ(classValueText(-std::numeric_limits<float>::infinity()), "-Infinity");
  EXPECT_EQ(classValueText(std::nanf("")), "NaN");
}

TEST(EditorNumber, LeadingNumberOrZero) {
  EXPECT_EQ(editorNumber("3,5"), 3.0f);
  EXPECT_EQ(editorNumber(""), 0.0f);
  EXPECT_EQ(editorNumber("schnell"), 0.0f);
  EXPECT_EQ(editorNumber(" \t-2.5e1 Knoten"), -25.0f);
  EXPECT_EQ(editorNumber("+.5"), 0.5f);
  EXPECT_EQ(editorNumber("7e"), 7.0f);
  EXPECT_EQ(editorNumber("0.0149"), 0.0149f);
}

// What the editor shows for a loaded value is saved as that value again.
TEST(EditorNumber, ShownClassValuesReadBackAsThemselves) {
  constexpr float kInf = std::numeric_limits<float>::infinity();
  for (float value : {kInf, -kInf, FLT_MAX, -FLT_MAX, 0.015f, 150.7f, -2.5f, 0.0f}) {
    EXPECT_EQ(editorNumber(classValueText(value)), value) << classValueText(value);
  }
  EXPECT_EQ(editorNumber("Infinity"), 0.0f);  // only the shown words, whole
}

TEST(EditorNumber, BeyondTheFloatRangeSaturates) {
  EXPECT_EQ(editorNumber("1e99"), FLT_MAX);
  EXPECT_EQ(editorNumber("-1e99"), -FLT_MAX);
  EXPECT_EQ(editorNumber("1e-99"), 0.0f);
}

TEST(RangeNumber, DecimalHexadecimalAndBinary) {
  EXPECT_EQ(rangeNumber("150"), 150);
  EXPECT_EQ(rangeNumber("$64"), 100);
  EXPECT_EQ(rangeNumber("$fF"), 255);
  EXPECT_EQ(rangeNumber("%101"), 5);
  EXPECT_EQ(rangeNumber("12 Schritte"), 12);
  EXPECT_EQ(rangeNumber("%1012"), 5);
  EXPECT_EQ(rangeNumber("$1g"), 1);
}

TEST(RangeNumber, SignsBlanksAndNoDigits) {
  EXPECT_EQ(rangeNumber(""), 0);
  EXPECT_EQ(rangeNumber("-20"), -20);
  EXPECT_EQ(rangeNumber("+20"), 20);
  EXPECT_EQ(rangeNumber(" \t-$10"), -16);
  EXPECT_EQ(rangeNumber("$"), 0);
  EXPECT_EQ(rangeNumber("%2"), 0);
  EXPECT_EQ(rangeNumber("$-5"), 0);
  EXPECT_EQ(rangeNumber("\n5"), 0);  // only spaces and tabs are skipped
  EXPECT_EQ(rangeNumber("--5"), 0);
}

TEST(RangeNumber, KeepsTheLowThirtyTwoBitsOfSixtyFour) {
  EXPECT_EQ(rangeNumber("2147483647"), 2147483647);
  EXPECT_EQ(rangeNumber("2147483648"), -2147483647 - 1);
  EXPECT_EQ(rangeNumber("4294967296"), 0);
  EXPECT_EQ(rangeNumber("$FFFFFFFF"), -1);
  EXPECT_EQ(rangeNumber("-$1FFFFFFFF"), 1);
  // Past 64 bits the accumulation wraps around (no undefined overflow).
  EXPECT_EQ(rangeNumber("99999999999999999999999"), -159383553);
  EXPECT_EQ(rangeNumber("$7FFFFFFFFFFFFFFFF"), -1);
}

}  // namespace

// What the player is told before saving: the stored value, whenever the text does not
// plainly say it; nothing for a text that does.
TEST(StoredValue, NamedWhenTheTextIsNotPlainlyTheNumber) {
  const struct {
    const char* text;
    std::optional<std::string> stored;
  } editor[] = {
      {"3.5", std::nullopt},
      {" 0.015000 ", std::nullopt},
      {"-2e1", std::nullopt},
      {"0.1", std::nullopt},  // the float's 0.1 is written 0.100000
      {"+Infinity", std::nullopt},
      {"0,5", "0"},
      {"3,5", "3"},
      {"12 Knoten", "12"},
      {"", "0"},
      {"schnell", "0"},
      {"1e39", "340282346638528859811704183484516925440"},
      {"16777217", "16777216"},
  };
  for (const auto& c : editor) EXPECT_EQ(editorStoredValue(c.text), c.stored) << c.text;
  const struct {
    const char* text;
    std::optional<std::string> stored;
  } range[] = {
      {"150", std::nullopt},
      {"$64", std::nullopt},
      {"-2147483648", std::nullopt},
      {"2147483647 ", std::nullopt},
      {"2147483648", "-2147483648"},
      {"99999999999999999999", "1661992959"},
      {"-2147483649", "2147483647"},
      {"12 Schritte", "12"},
      {"", "0"},
      {"-", "0"},
      {"1,5", "1"},
  };
  for (const auto& c : range) EXPECT_EQ(rangeStoredValue(c.text), c.stored) << c.text;
  EXPECT_EQ(storedAsNote("0"), "wird als 0 gespeichert");
}
