#include "model/number_text.h"

#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>
#include <locale>
#include <string>

#include <gtest/gtest.h>

namespace kettrik {
namespace {

constexpr std::int32_t Int32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t Int32Min = std::numeric_limits<std::int32_t>::min();

TEST(FormatFixed6, writesSixDecimalsWithoutExponent) {
    EXPECT_EQ(FormatFixed6(2000), "2000.000000");
    EXPECT_EQ(FormatFixed6(0.95), "0.950000");
    EXPECT_EQ(FormatFixed6(-1), "-1.000000");
    EXPECT_EQ(FormatFixed6(0), "0.000000");
    EXPECT_EQ(FormatFixed6(0.0000001), "0.000000");
    EXPECT_EQ(FormatFixed6(1e20), "100000000000000000000.000000");
    EXPECT_EQ(FormatFixed6(0.0000005000001), "0.000001");
}

TEST(FormatFixed6, largestDoubleIsWrittenInFull) {
    const std::string text = FormatFixed6(std::numeric_limits<double>::max());
    EXPECT_EQ(text.size(), 309u + 7u);
    EXPECT_EQ(text.find('e'), std::string::npos);
    EXPECT_EQ(FormatFixed6(-std::numeric_limits<double>::max()).size(), 309u + 8u);
}

TEST(FormatFixed6, nonFiniteValuesReadBackAsZero) {
    EXPECT_EQ(FormatFixed6(std::numeric_limits<double>::infinity()), "inf");
    EXPECT_EQ(ParseReal(FormatFixed6(-std::numeric_limits<double>::infinity())), 0.0);
    EXPECT_EQ(ParseReal(FormatFixed6(std::numeric_limits<double>::quiet_NaN())), 0.0);
}

TEST(FormatInt, writesDecimalDigits) {
    EXPECT_EQ(FormatInt(0), "0");
    EXPECT_EQ(FormatInt(-1), "-1");
    EXPECT_EQ(FormatInt(22050), "22050");
    EXPECT_EQ(FormatInt(Int32Min), "-2147483648");
}

// A locale whose decimal separator is a comma must not change what files hold.
TEST(FormatFixed6, ignoresProcessLocale) {
    const char* german = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"}) {
        if (std::setlocale(LC_ALL, name) != nullptr) {
            german = name;
            break;
        }
    }
    if (german == nullptr) {
        GTEST_SKIP() << "no German locale installed";
    }
    const std::locale previousGlobal = std::locale::global(std::locale(german));
    const std::string written = FormatFixed6(2000);
    const double read = ParseReal("0.5");
    std::locale::global(previousGlobal);
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(written, "2000.000000");
    EXPECT_EQ(read, 0.5);
}

TEST(ParseInt, readsLongestLeadingInteger) {
    EXPECT_EQ(ParseInt("22050"), 22050);
    EXPECT_EQ(ParseInt("  -12abc"), -12);
    EXPECT_EQ(ParseInt("+7"), 7);
    EXPECT_EQ(ParseInt("3.9"), 3);
    EXPECT_EQ(ParseInt("\t 42 43"), 42);
}

TEST(ParseInt, noNumberReadsZero) {
    EXPECT_EQ(ParseInt(""), 0);
    EXPECT_EQ(ParseInt("abc"), 0);
    EXPECT_EQ(ParseInt("-"), 0);
    EXPECT_EQ(ParseInt("+-5"), 0);
    EXPECT_EQ(ParseInt(" - 5"), 0);
}

TEST(ParseInt, saturatesAt32BitLimits) {
    EXPECT_EQ(ParseInt("2147483647"), Int32Max);
    EXPECT_EQ(ParseInt("2147483648"), Int32Max);
    EXPECT_EQ(ParseInt("-2147483648"), Int32Min);
    EXPECT_EQ(ParseInt("-2147483649"), Int32Min);
    EXPECT_EQ(ParseInt("99999999999999999999999999999"), Int32Max);
    EXPECT_EQ(ParseInt("-99999999999999999999999999999"), Int32Min);
    EXPECT_EQ(ParseInt("0000000000000000000000000000012"), 12);
}

TEST(ParseReal, readsLongestLeadingNumber) {
    EXPECT_EQ(ParseReal("2000.000000"), 2000.0);
    EXPECT_EQ(ParseReal(" -1.5xyz"), -1.5);
    EXPECT_EQ(ParseReal(".1"), 0.1);
    EXPECT_EQ(ParseReal("5."), 5.0);
    EXPECT_EQ(ParseReal("+2.5"), 2.5);
    EXPECT_EQ(ParseReal("1e3"), 1000.0);
    EXPECT_EQ(ParseReal("1E-2"), 0.01);
    EXPECT_EQ(ParseReal("1e"), 1.0);
    EXPECT_EQ(ParseReal("1e+"), 1.0);
    EXPECT_EQ(ParseReal("2e+x"), 2.0);
    EXPECT_EQ(ParseReal("3,5"), 3.0);
    EXPECT_EQ(ParseReal("0x10"), 0.0);
}

TEST(ParseReal, noNumberReadsZero) {
    EXPECT_EQ(ParseReal(""), 0.0);
    EXPECT_EQ(ParseReal("."), 0.0);
    EXPECT_EQ(ParseReal("-.e5"), 0.0);
    EXPECT_EQ(ParseReal("e5"), 0.0);
    EXPECT_EQ(ParseReal("abc"), 0.0);
}

TEST(ParseReal, neverGivesInfinityOrNaN) {
    EXPECT_EQ(ParseReal("1e999"), 0.0);
    EXPECT_EQ(ParseReal("-1e999"), 0.0);
    EXPECT_EQ(ParseReal("nan"), 0.0);
    EXPECT_EQ(ParseReal("inf"), 0.0);
    EXPECT_EQ(ParseReal("-infinity"), 0.0);
    EXPECT_EQ(ParseReal("1e-999"), 0.0);
    EXPECT_EQ(ParseReal(std::string(400, '9')), 0.0);
}

TEST(ParseReal, readsBackWhatFormatFixed6Wrote) {
    for (const double value : {0.0, 0.95, -1.0, 2000.0, 0.1, 123456.789012, -0.000001}) {
        EXPECT_EQ(ParseReal(FormatFixed6(value)), value);
    }
    EXPECT_EQ(ParseReal(FormatFixed6(0.0000001)), 0.0);
}

TEST(FormatGeneral, writesSignificantDigitsLikeTheCFormat) {
    const struct {
        double Value;
        int Digits;
        const char* Text;
    } cases[] = {
        {0.95, 5, "0.95"},
        {2000, 5, "2000"},
        {1.0 / 3.0, 5, "0.33333"},
        {123456, 5, "1.2346e+05"},
        {3.98107, 3, "3.98"},
        {-0.5, 6, "-0.5"},
        {0, 5, "0"},
        {1e-7, 5, "1e-07"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatGeneral(c.Value, c.Digits), c.Text) << c.Value;
    }
    EXPECT_EQ(FormatGeneral(std::numeric_limits<double>::quiet_NaN(), 5), "0");
    EXPECT_EQ(FormatGeneral(std::numeric_limits<double>::infinity(), 5), "0");
}

TEST(FormatFixed, writesTheGivenDecimalsLikePrintf) {
    const struct {
        double Value;
        int Decimals;
        const char* Text;
    } cases[] = {
        {2.468, 3, "2.468"},
        {0.0, 3, "0.000"},
        {-0.2, 3, "-0.200"},
        {20.0, 3, "20.000"},
        {0.0005, 3, "0.001"},
        {1e20, 0, "100000000000000000000"},
        {std::numeric_limits<double>::quiet_NaN(), 3, "0.000"},
        {std::numeric_limits<double>::infinity(), 2, "0.00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatFixed(c.Value, c.Decimals), c.Text) << c.Value;
    }
}

} // namespace
} // namespace kettrik
