// What the two parameter pages share: building a page from its layout, and the position of
// a curve-shape slider.
#pragma once

#include <QHash>

#include "resources/resource_loader.h"

class QWidget;

namespace kettrik {

// Sizes the page to its layout and creates its controls in the dialog font.
QHash<int, QWidget*> BuildPage(QWidget* page, const DialogTemplate& layout,
                               const CustomControlFactory& factory);

// trunc(log10(shape) x 50) within the slider's -100 to 100; a shape of 0 or less, or NaN,
// puts it at the left end.
int ShapeSliderPosition(double shape);

} // namespace kettrik
