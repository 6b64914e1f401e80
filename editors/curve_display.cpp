#include "editors/curve_display.h"

#include <algorithm>
#include <cmath>

#include <QPainter>
#include <QPainterPath>

#include "editors/display_scale.h"
#include "engine/envelope.h"

namespace kettrik {

CCurveDisplay::CCurveDisplay(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
}

void CCurveDisplay::Bind(const EnvelopeBinding& binding) {
    binding_ = binding;
    update();
}

void CCurveDisplay::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (binding_.StartValue == nullptr) {
        return;
    }
    const QRect area = contentsRect().adjusted(2, 2, -2, -2);
    const double startT = *binding_.StartT;
    const double endT = *binding_.EndT;
    const double timeSpan = DisplaySpan(TimeRange, std::max(startT, endT));
    const double valueSpan =
        DisplaySpan(*binding_.ValueRange,
                    std::max(std::fabs(*binding_.StartValue), std::fabs(*binding_.EndValue)));
    const auto toX = [&](double t) {
        return area.left() + ScaleToPixels(t / timeSpan, area.width());
    };
    const auto toY = [&](double v) {
        return area.bottom() - ScaleToPixels(v / valueSpan, area.height());
    };
    QPainterPath path;
    constexpr int Steps = 64;
    for (int i = 0; i <= Steps; ++i) {
        const double t = static_cast<double>(i) / Steps;
        const double value =
            EnvelopeValue(*binding_.StartValue, *binding_.EndValue, *binding_.CurveShape, t);
        const QPointF point(toX(startT + (endT - startT) * t), toY(value));
        if (i == 0) {
            path.moveTo(point);
        } else {
            path.lineTo(point);
        }
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0, 128, 240), 1.5));
    painter.drawPath(path);
}

} // namespace kettrik
