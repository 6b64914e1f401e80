// The arithmetic of the wave preview: its drawing area, the row a wave value is drawn at,
// and the waveshape a drag through a point asks for. Plain functions, tested directly.
#pragma once

#include <optional>

#include "editors/curve_geometry.h"

namespace kettrik {

// The client rectangle inside a five-pixel frame.
CurveFrame PreviewDrawingArea(int clientWidth, int clientHeight);

// trunc((value + 1) x height / 2): -1 at the top row, +1 at the bottom; NaN on the centre.
int PreviewRow(double value, int height);

// The waveshape that makes the shaped sine pass through client (x, y), when the pointer is
// in the lower half of the left half or the upper half of the right half (and not on the
// centre row, an edge or a peak); nothing otherwise.
std::optional<double> PreviewDragShape(int x, int y, int clientWidth, int clientHeight);

} // namespace kettrik
