#include "model/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <limits>
#include <system_error>

namespace kettrik {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The blanks that strtol/strtod skip in the "C" locale.
bool IsLeadingBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::size_t SkipBlanks(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && IsLeadingBlank(text[pos])) {
        ++pos;
    }
    return pos;
}

std::size_t SkipDigits(std::string_view text, std::size_t pos) {
    while (pos < text.size() && IsDigit(text[pos])) {
        ++pos;
    }
    return pos;
}

} // namespace

std::int32_t ParseInt(std::string_view text) {
    std::size_t pos = SkipBlanks(text);
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const std::size_t digitsEnd = SkipDigits(text, pos);
    if (digitsEnd == pos) {
        return 0;
    }
    // The magnitude is parsed unsigned so that the sign never overflows; anything beyond
    // 64 bits is beyond 32 bits too.
    std::uint64_t magnitude = 0;
    const auto [end, error] =
        std::from_chars(text.data() + pos, text.data() + digitsEnd, magnitude);
    (void)end;
    constexpr std::uint64_t maxPositive = std::numeric_limits<std::int32_t>::max();
    constexpr std::uint64_t maxNegative = maxPositive + 1;
    if (negative) {
        if (error != std::errc{} || magnitude >= maxNegative) {
            return std::numeric_limits<std::int32_t>::min();
        }
        return static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude));
    }
    if (error != std::errc{} || magnitude > maxPositive) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(magnitude);
}

double ParseReal(std::string_view text) {
    std::size_t pos = SkipBlanks(text);
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    // The number's extent is found here, so that from_chars never sees what the file format
    // does not allow ("inf", "nan", hexadecimal).
    const std::size_t start = pos;
    std::size_t end = SkipDigits(text, pos);
    std::size_t digits = end - start;
    if (end < text.size() && text[end] == '.') {
        const std::size_t fractionEnd = SkipDigits(text, end + 1);
        digits += fractionEnd - (end + 1);
        end = fractionEnd;
    }
    if (digits == 0) {
        return 0.0;
    }
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t exponent = end + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) {
            ++exponent;
        }
        const std::size_t exponentEnd = SkipDigits(text, exponent);
        if (exponentEnd > exponent) {
            end = exponentEnd;
        }
    }
    double value = 0.0;
    const auto [parsedEnd, error] =
        std::from_chars(text.data() + start, text.data() + end, value, std::chars_format::general);
    (void)parsedEnd;
    // Out of range covers both a number too large (it reads 0, never an infinity) and one
    // too small to represent (0 anyway).
    if (error != std::errc{} || !std::isfinite(value)) {
        return 0.0;
    }
    return negative ? -value : value;
}

std::string FormatInt(std::int64_t value) {
    char buffer[24];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    (void)error;
    return {buffer, end};
}

std::string FormatFixed6(double value) {
    // The largest double has 309 integer digits; with sign, point and six decimals this fits.
    char buffer[330];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    if (error != std::errc{}) {
        return "0.000000";
    }
    return {buffer, end};
}

std::string FormatGeneral(double value, int significantDigits) {
    if (!std::isfinite(value)) {
        return "0";
    }
    char buffer[64];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general,
                      std::clamp(significantDigits, 1, 17));
    if (error != std::errc{}) {
        return "0";
    }
    return {buffer, end};
}

std::string FormatFixed(double value, int decimals) {
    const int places = std::clamp(decimals, 0, 17);
    if (!std::isfinite(value)) {
        value = 0.0;
    }
    char buffer[340];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, places);
    if (error != std::errc{}) {
        return "0";
    }
    return {buffer, end};
}

} // namespace kettrik
