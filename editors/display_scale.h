// Scales of the editors' graphs, kept apart from the painting so that no value, however
// wild, reaches a pixel coordinate as a NaN or an out-of-range integer.
#pragma once

namespace kettrik {

// The span a graph shows: the range set by the user or the window, or 1.1 times the largest
// value when that is larger; never 0, NaN or infinite.
double DisplaySpan(double range, double largest);

// fraction x pixels, limited to a few graph sizes either side so painting stays sane.
double ScaleToPixels(double fraction, int pixels);

} // namespace kettrik
