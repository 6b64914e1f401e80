// Times as beats of the window's tempo (a beat is a quarter note), both ways, the snap grid,
// and the texts of the time boxes. Plain functions, so the tables can be checked directly.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kettrik {

// A tempo that beats can be counted in: above 0 and finite. With any other tempo the time
// boxes show and read milliseconds and never change a stored time.
bool UsableTempo(double tempo);

double MsToBeats(double milliseconds, double tempo); // ms x tempo / 60000
double BeatsToMs(double beats, double tempo);        // beats x 60000 / tempo; 0 for no tempo

// The grid of a snap code in beats: 0 for none, 1, 0.5, 0.25, 0.125, 0.0625 for 1 to 5, and
// 1 for any other code.
double SnapGridBeats(int snapCode);

// What a time box shows for a time: "%.5g" milliseconds, or beats as "%0.03f" with ":" for
// the point. With snap (in beat mode, with a grid) the time is first moved down towards 0
// onto the grid.
std::string TimeText(double& milliseconds, bool snap, bool showBeats, int snapCode, double tempo);

// The time a box's text stands for, in ms: beats when its first ":" is not its first character,
// else the leading number. Beats cannot be read without a usable tempo: no value then.
std::optional<double> ReadTimeText(std::string_view text, double tempo);

} // namespace kettrik
