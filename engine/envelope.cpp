#include "engine/envelope.h"

#include <cmath>

namespace kettrik {

std::int32_t TimeToSample(double milliseconds, std::int32_t sampleFrequency) {
    const double samples = (static_cast<double>(sampleFrequency) * milliseconds) * 0.001;
    if (std::isnan(samples)) {
        return 0;
    }
    if (samples >= MaxSampleIndex) {
        return MaxSampleIndex;
    }
    if (samples <= -MaxSampleIndex) {
        return -MaxSampleIndex;
    }
    return static_cast<std::int32_t>(samples);
}

double CurvePower(double t, double shape) {
    if (shape == 1.0) {
        return t;
    }
    if (!(shape >= 0.0)) {
        return 1.0;
    }
    return std::pow(t, shape);
}

double EnvelopeValue(double start, double end, double shape, double t) {
    return start + (end - start) * CurvePower(t, shape);
}

} // namespace kettrik
