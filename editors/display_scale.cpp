#include "editors/display_scale.h"

#include <algorithm>
#include <cmath>

namespace kettrik {

double DisplaySpan(double range, double largest) {
    double span = std::isfinite(range) ? range : 0.0;
    if (std::isfinite(largest) && largest * 1.1 > span) {
        span = largest * 1.1;
    }
    return span > 0.0 ? span : 1.0;
}

double ScaleToPixels(double fraction, int pixels) {
    if (!std::isfinite(fraction)) {
        return 0.0;
    }
    return std::clamp(fraction, -4.0, 4.0) * pixels;
}

} // namespace kettrik
