// How the launcher turns numbers into text and back: the class values it shows in the ship
// list and the editor, the numbers typed into the editor, and the range typed into the
// options window.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Fixed notation with six decimals ("%f" of the value widened to double). Negative zero
// shows as 0.000000, the infinities as "+Infinity" and "-Infinity", and NaN as "NaN" (which
// the settings file never gives, and an editor save stores as 0).
std::string classValueText(float value);

// The leading decimal number of an edited class value, as the settings file reads numbers:
// "3,5" gives 3, an empty or wordy text 0. A typed number beyond the float range saturates
// at it. "+Infinity" and "-Infinity", as shown for a stored value beyond the float range,
// stay infinite, so that saving an untouched editor keeps that value.
float editorNumber(std::string_view text);

// The range field: blanks, a sign, then "$" and hexadecimal digits, "%" and binary digits,
// or decimal digits, up to the first byte that is not a digit of that base. Accumulated
// with 64-bit wrap-around; the low 32 bits are the result ("$64" is 100, "%101" is 5).
int32_t rangeNumber(std::string_view text);

// What an edited class value or range text will be stored as, shortly written ("3", "0.5"),
// when the text is not plainly that number: a comma, trailing text, no number at all, an
// empty field, a value the file cannot keep as typed (beyond the float range, beyond 32
// bits). Nothing when it is plainly the number that will be stored; blanks around it and a
// range in "$" or "%" digits count as plain.
std::optional<std::string> editorStoredValue(std::string_view text);
std::optional<std::string> rangeStoredValue(std::string_view text);

// The player's note beside such a field, in German (UTF-8): "wird als 0 gespeichert".
std::string storedAsNote(const std::string& value);
