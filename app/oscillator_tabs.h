// What the oscillator and parameter tab rows show, and which page the page area shows.
#pragma once

#include <QString>
#include <QStringList>

#include "model/sound.h"

namespace kettrik {

// Images of the oscillator tabs ("osc-<index>").
enum OscillatorImage {
    ImageOscillatorOn = 0,
    ImageFilterOn = 1,
    ImageOscillatorInaudible = 2,
    ImageFilterInaudible = 3,
    ImageNewTab = 4,
    ImageOff = 5,
};

int OscillatorTabImage(const Oscillator& oscillator);
// "3" for oscillator 2, "F3" when it is a filter.
QString OscillatorTabText(int index, const Oscillator& oscillator);

// The parameter tabs of an oscillator or a filter; each tab's image is "param-<index>".
struct ParameterTab {
    QString Text;
    int Image;
};
QVector<ParameterTab> ParameterTabs(bool filter);

struct PageArea {
    bool ChangeNothing; // no parameter tab selected
    bool EnvelopePage;
    bool WaveformPage;
    bool OffLabel;
};
PageArea PageAreaFor(int selectedParameterTab, std::int32_t enabled);

// The envelope page's corner icon for parameter tab 0 or 1.
int EnvelopeCornerIcon(int selectedParameterTab, bool filter);

} // namespace kettrik
