#include "editors/page_controls.h"

#include <algorithm>
#include <cmath>

#include <QWidget>

namespace kettrik {

QHash<int, QWidget*> BuildPage(QWidget* page, const DialogTemplate& layout,
                               const CustomControlFactory& factory) {
    page->setFont(DialogFont());
    const DialogUnits units(page->font());
    page->setFixedSize(units.X(layout.Width), units.Y(layout.Height));
    return BuildDialogControls(page, layout, factory);
}

int ShapeSliderPosition(double shape) {
    if (!(shape > 0.0)) {
        return -100;
    }
    const double position = std::trunc(std::log10(shape) * 50.0);
    return static_cast<int>(std::clamp(position, -100.0, 100.0));
}

} // namespace kettrik
