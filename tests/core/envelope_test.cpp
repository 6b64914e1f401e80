#include "engine/envelope.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace kettrik {
namespace {

TEST(TimeToSample, truncatesTowardZeroAndClampsInsteadOfWrapping) {
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double Ms;
        std::int32_t Rate;
        std::int32_t Expected;
    } cases[] = {
        {10, 22050, 220}, // 220.5 truncated
        {200, 22050, 4410},
        {-10, 22050, -220}, // toward zero, not down
        {0.05, 44100, 2},
        {std::nan(""), 44100, 0},
        {1e300, 48000, MaxSampleIndex},
        {-1e300, 48000, -MaxSampleIndex},
        {inf, 48000, MaxSampleIndex},
        {100, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TimeToSample(c.Ms, c.Rate), c.Expected) << c.Ms << " ms at " << c.Rate;
    }
}

TEST(EnvelopeValue, followsThePowerCurve) {
    struct Case {
        double Start, End, Shape, T, Expected;
    } cases[] = {
        {1, 0, 8, 0.5, 1 - std::pow(0.5, 8)},                   // moves late: 0.99609 at half way
        {2000, 0, 0.1, 0.01, 2000 * (1 - std::pow(0.01, 0.1))}, // moves early: 738 Hz
        {10, 20, 1, 0.25, 12.5},                                // a straight line
        {10, 20, 0, 0.0, 20},                                   // shape 0: at the end value at once
        {10, 20, 3, 0.0, 10},                                   // 0^k = 0 for k > 0
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(EnvelopeValue(c.Start, c.End, c.Shape, c.T), c.Expected);
    }
    EXPECT_NEAR(EnvelopeValue(2000, 0, 0.1, 0.01), 738, 1);
}

TEST(EnvelopeValue, negativeOrNaNShapeSitsAtTheEndValueInsteadOfGoingInfinite) {
    for (const double shape : {-1.0, -0.001, std::nan("")}) {
        for (const double t : {0.0, 0.3, 0.999}) {
            EXPECT_EQ(EnvelopeValue(5, 7, shape, t), 7) << shape << " at " << t;
        }
    }
}

} // namespace
} // namespace kettrik
