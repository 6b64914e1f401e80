#include "app/oscillator_tabs.h"

namespace kettrik {

int OscillatorTabImage(const Oscillator& oscillator) {
    const int filter = oscillator.Filter != 0 ? 1 : 0;
    if (oscillator.Enabled == Off) {
        return ImageOff;
    }
    if (oscillator.Enabled == Inaudible) {
        return ImageOscillatorInaudible + filter;
    }
    return ImageOscillatorOn + filter;
}

QString OscillatorTabText(int index, const Oscillator& oscillator) {
    const QString number = QString::fromStdString(std::to_string(index + 1));
    return oscillator.Filter != 0 ? QStringLiteral("F") + number : number;
}

QVector<ParameterTab> ParameterTabs(bool filter) {
    if (filter) {
        return {{QStringLiteral("Cutoff F"), 3}, {QStringLiteral("Resonance "), 4}};
    }
    return {{QStringLiteral("Frequency"), 0},
            {QStringLiteral("Amplitude"), 1},
            {QStringLiteral("Waveshape"), 2}};
}

PageArea PageAreaFor(int selectedParameterTab, std::int32_t enabled) {
    const bool off = enabled == Off;
    switch (selectedParameterTab) {
    case 0:
    case 1:
        return {false, !off, false, off};
    case 2:
        return {false, false, !off, off};
    default:
        return {true, false, false, off};
    }
}

int EnvelopeCornerIcon(int selectedParameterTab, bool filter) {
    if (selectedParameterTab == 0) {
        return filter ? 145 : 135;
    }
    return filter ? 146 : 134;
}

} // namespace kettrik
