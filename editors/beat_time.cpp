#include "editors/beat_time.h"

#include <algorithm>
#include <cmath>

#include "model/number_text.h"

namespace kettrik {

namespace {

constexpr double InverseMinute = 1.6666666666666667e-05; // 1 / 60000 ms

} // namespace

bool UsableTempo(double tempo) {
    return tempo > 0.0 && std::isfinite(tempo);
}

double MsToBeats(double milliseconds, double tempo) {
    return milliseconds * tempo / 60000.0;
}

double BeatsToMs(double beats, double tempo) {
    return UsableTempo(tempo) ? beats * 60000.0 / tempo : 0.0;
}

double SnapGridBeats(int snapCode) {
    switch (snapCode) {
    case 0:
        return 0.0;
    case 2:
        return 0.5;
    case 3:
        return 0.25;
    case 4:
        return 0.125;
    case 5:
        return 0.0625;
    default:
        return 1.0;
    }
}

std::string TimeText(double& milliseconds, bool snap, bool showBeats, int snapCode, double tempo) {
    if (!showBeats || !UsableTempo(tempo)) {
        return FormatGeneral(milliseconds, 5);
    }
    if (snap && snapCode != 0) {
        const double grid = 60000.0 / tempo * SnapGridBeats(snapCode);
        if (grid > 0.0 && std::isfinite(grid) && std::isfinite(milliseconds)) {
            milliseconds -= std::fmod(milliseconds, grid);
        }
    }
    std::string text = FormatFixed(tempo * milliseconds * InverseMinute, 3);
    if (const std::size_t point = text.find('.'); point != std::string::npos) {
        text[point] = ':';
    }
    return text;
}

std::optional<double> ReadTimeText(std::string_view text, double tempo) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon == 0) {
        return ParseReal(text);
    }
    if (!UsableTempo(tempo)) {
        return std::nullopt;
    }
    std::string beats(text);
    std::replace(beats.begin(), beats.end(), ':', '.');
    return BeatsToMs(ParseReal(beats), tempo);
}

} // namespace kettrik
