// Numbers in sound and settings files: written and read the same way whatever the
// process locale is.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kettrik {

// Longest leading integer: blanks, an optional sign, digits. No digits reads as 0; a value
// beyond 32 bits saturates at the nearest 32-bit limit.
std::int32_t ParseInt(std::string_view text);

// Longest leading decimal number: blanks, an optional sign, digits with an optional point
// and an optional exponent. No number reads as 0, and so does a number too large for a
// 64-bit real, so a file can never bring an infinity or NaN into a sound ("inf" and "nan"
// are not numbers either).
double ParseReal(std::string_view text);

std::string FormatInt(std::int64_t value); // "%d"
// "%f": six decimals, a point, never an exponent (an infinity or NaN is written as
// "inf"/"nan", which reads back as 0).
std::string FormatFixed6(double value);
// "%.<digits>g": at most that many significant digits, trailing zeros dropped, an exponent
// only for very large or small values. NaN and infinities are written as "0".
std::string FormatGeneral(double value, int significantDigits);
// "%.<decimals>f": never an exponent; NaN and infinities are written as "0" with the decimals.
std::string FormatFixed(double value, int decimals);

} // namespace kettrik
