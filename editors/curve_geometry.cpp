#include "editors/curve_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "engine/envelope.h"

namespace kettrik {

namespace {

constexpr int FrameWidth = 4;
constexpr double PixelLimit = 4.0e6;
constexpr int PressReleased = -10;

bool Usable(double range) {
    return range > 0.0 && std::isfinite(range);
}

} // namespace

CurveFrame CurveDrawingArea(int clientWidth, int clientHeight) {
    return {FrameWidth, FrameWidth, std::max(FrameWidth, clientWidth - FrameWidth),
            std::max(FrameWidth, clientHeight - FrameWidth)};
}

bool RangesUsable(double valueRange, double timeRange) {
    return Usable(valueRange) && Usable(timeRange);
}

int TruncPixel(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    return static_cast<int>(std::trunc(std::clamp(value, -PixelLimit, PixelLimit)));
}

CurveHandles HandlePositions(const CurveFrame& frame, const CurvePoints& points, double valueRange,
                             double timeRange) {
    const double w = frame.Width();
    const double h = frame.Height();
    return {TruncPixel(frame.Left + w * points.StartT / timeRange),
            TruncPixel(frame.Bottom - h * points.StartValue / valueRange),
            TruncPixel(frame.Left + w * points.EndT / timeRange),
            TruncPixel(frame.Bottom - h * points.EndValue / valueRange)};
}

int CurveBarHeight(int column, int span, const CurvePoints& points, double valueRange, int height) {
    const double t = static_cast<double>(column) / span;
    const double value = EnvelopeValue(points.StartValue, points.EndValue, points.Shape, t);
    return std::min(TruncPixel(value / valueRange * height), height);
}

CurveDragMode DragModeAt(int x, int y, const CurveHandles& handles) {
    CurveDragMode mode = BendCurve;
    if (std::abs(x - handles.StartX) < HandleReach && std::abs(y - handles.StartY) < HandleReach) {
        mode = MoveStartPoint;
    }
    if (std::abs(x - handles.EndX) < HandleReach && std::abs(y - handles.EndY) < HandleReach) {
        mode = MoveEndPoint;
    }
    return mode;
}

void Rescale(double factor, const CurvePoints& points, CurveScale& scale, double& valueRange,
             double& timeRange) {
    scale.MaxValue = points.StartValue;
    scale.MinValue = points.EndValue;
    if (factor * points.EndT > timeRange) {
        timeRange = factor * points.EndT;
    }
    scale.Rising = points.EndValue > points.StartValue;
    if (scale.Rising) {
        std::swap(scale.MaxValue, scale.MinValue);
    }
    if (factor * scale.MaxValue > valueRange) {
        valueRange = factor * scale.MaxValue;
    }
}

std::optional<double> DraggedValue(int y, int& pressY, int clientHeight, double valueRange,
                                   int threshold) {
    if (clientHeight <= 0 || std::abs(static_cast<long long>(y) - pressY) <= threshold) {
        return std::nullopt;
    }
    pressY = PressReleased;
    const double value = (clientHeight - static_cast<double>(y)) * valueRange / clientHeight;
    return std::max(value, 0.0);
}

std::optional<double> DraggedTime(int x, int& pressX, int clientWidth, double timeRange,
                                  int threshold) {
    if (clientWidth <= 0 || std::abs(static_cast<long long>(x) - pressX) <= threshold) {
        return std::nullopt;
    }
    pressX = PressReleased;
    const double time = static_cast<double>(x) * timeRange / clientWidth;
    return std::max(time, 0.0);
}

std::optional<double> BendShape(int x, int y, int clientHeight, const CurveHandles& handles,
                                const CurveScale& scale, double valueRange) {
    if (clientHeight <= 0) {
        return std::nullopt;
    }
    const double v = (clientHeight - static_cast<double>(y)) * valueRange / clientHeight;
    if (!(handles.StartX < x && x < handles.EndX && scale.MinValue < v && v < scale.MaxValue)) {
        return std::nullopt;
    }
    double m = (v - scale.MinValue) / (scale.MaxValue - scale.MinValue);
    if (!scale.Rising) {
        m = 1.0 - m;
    }
    const double o = static_cast<double>(x - handles.StartX) / (handles.EndX - handles.StartX);
    if (!(m > 0.0 && m < 1.0 && o > 0.0 && o < 1.0)) {
        return std::nullopt;
    }
    return std::log(m) / std::log(o);
}

} // namespace kettrik
