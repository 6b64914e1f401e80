#include "editors/wave_geometry.h"

#include <algorithm>
#include <cmath>

namespace kettrik {

namespace {

constexpr int FrameWidth = 5;

} // namespace

CurveFrame PreviewDrawingArea(int clientWidth, int clientHeight) {
    return {FrameWidth, FrameWidth, std::max(FrameWidth, clientWidth - FrameWidth),
            std::max(FrameWidth, clientHeight - FrameWidth)};
}

int PreviewRow(double value, int height) {
    if (std::isnan(value)) {
        value = 0.0;
    }
    return TruncPixel((value + 1.0) * (height * 0.5));
}

std::optional<double> PreviewDragShape(int x, int y, int clientWidth, int clientHeight) {
    if (clientWidth <= 0 || clientHeight <= 0) {
        return std::nullopt;
    }
    double b = (static_cast<double>(y) / clientHeight - 0.5) * 2.0;
    double c = std::sin(static_cast<double>(x) / clientWidth * 6.283185308);
    if (b < 0.0) {
        b = -b;
        c = -c;
    }
    if (!(b > 0.0 && b < 1.0 && c > 0.0 && c < 1.0)) {
        return std::nullopt;
    }
    return std::log(b) / std::log(c);
}

} // namespace kettrik
