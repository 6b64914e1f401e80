// The arithmetic of the envelope graph: where the handles and columns go, which handle a
// press hits, how a dragged pointer maps to a value, a time or a curve shape, and how the
// scales grow. Plain functions over client pixels, so they are tested without painting.
#pragma once

#include <optional>

namespace kettrik {

// The drawing area: the client rectangle inside a four-pixel frame.
struct CurveFrame {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
};
CurveFrame CurveDrawingArea(int clientWidth, int clientHeight);

// The envelope as the graph sees it.
struct CurvePoints {
    double StartValue = 0.0;
    double EndValue = 0.0;
    double StartT = 0.0;
    double EndT = 0.0;
    double Shape = 1.0;
};

// A graph can be drawn and dragged only when both scales are above 0 (and finite): a range
// of 0 would divide by zero, so the graph stays empty until a range exists.
bool RangesUsable(double valueRange, double timeRange);

// A real pixel coordinate truncated towards zero; NaN gives 0 and huge values are held to a
// few million pixels, so no conversion overflows.
int TruncPixel(double value);

struct CurveHandles {
    int StartX = 0;
    int StartY = 0;
    int EndX = 0;
    int EndY = 0;
};
// Centres of the two handles; only meaningful when RangesUsable.
CurveHandles HandlePositions(const CurveFrame& frame, const CurvePoints& points, double valueRange,
                             double timeRange);

// Height in pixels of column i of span (the curve's value at i / span), at most height.
int CurveBarHeight(int column, int span, const CurvePoints& points, double valueRange, int height);

enum CurveDragMode { MoveStartPoint = 0, BendCurve = 1, MoveEndPoint = 2 };
inline constexpr int HandleReach = 6; // a press closer than this on both axes hits a handle

// What a press at client (x, y) drags; the end handle wins when both are hit.
CurveDragMode DragModeAt(int x, int y, const CurveHandles& handles);

// The value span of the envelope as of the last rescale.
struct CurveScale {
    double MaxValue = 0.0;
    double MinValue = 0.0;
    bool Rising = false;
};
// Takes the envelope's extent into scale and lets both ranges grow to factor x the larger
// value and factor x the end time; they never shrink here.
void Rescale(double factor, const CurvePoints& points, CurveScale& scale, double& valueRange,
             double& timeRange);

// One axis of dragging a point. Until the pointer has moved more than threshold from the
// remembered press coordinate nothing changes; past it, the press coordinate becomes -10 and
// the axis follows the pointer: (extent - position) x range / extent for values (y grows
// downwards), position x range / extent for times, never below 0.
std::optional<double> DraggedValue(int y, int& pressY, int clientHeight, double valueRange,
                                   int threshold);
std::optional<double> DraggedTime(int x, int& pressX, int clientWidth, double timeRange,
                                  int threshold);

// The curve shape that makes the curve pass through the pointer, when the pointer lies
// strictly between the handles in time and between the two values; nothing otherwise.
std::optional<double> BendShape(int x, int y, int clientHeight, const CurveHandles& handles,
                                const CurveScale& scale, double valueRange);

} // namespace kettrik
