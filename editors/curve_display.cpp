#include "editors/curve_display.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleHints>

namespace kettrik {

namespace {

constexpr int HandleSize = 5;
constexpr int ValueBoxLift = 5;    // a value box's top sits this far above its handle
constexpr int StartTimeShift = 35; // the start time box ends near its handle

} // namespace

CCurveDisplay::CCurveDisplay(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    // Taking the focus on a click lets a box that was being typed in record its edit first.
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CCurveDisplay::SetBoxes(QWidget* startValue, QWidget* endValue, QWidget* startTime,
                             QWidget* endTime) {
    boxes_[0] = startValue;
    boxes_[1] = endValue;
    boxes_[2] = startTime;
    boxes_[3] = endTime;
}

void CCurveDisplay::Bind(const EnvelopeBinding& binding) {
    binding_ = binding;
    update();
}

CurvePoints CCurveDisplay::Points() const {
    if (binding_.StartValue == nullptr) {
        return {};
    }
    return {*binding_.StartValue, *binding_.EndValue, *binding_.StartT, *binding_.EndT,
            *binding_.CurveShape};
}

bool CCurveDisplay::Usable() const {
    return binding_.ValueRange != nullptr && RangesUsable(*binding_.ValueRange, TimeRange);
}

void CCurveDisplay::Rescale(double factor) {
    if (binding_.ValueRange == nullptr) {
        return;
    }
    kettrik::Rescale(factor, Points(), scale_, *binding_.ValueRange, TimeRange);
}

QPoint CCurveDisplay::ClientPoint(const QPointF& widgetPoint) const {
    const QPointF client = widgetPoint - contentsRect().topLeft();
    return {TruncPixel(client.x()), TruncPixel(client.y())};
}

void CCurveDisplay::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    const QRect client = contentsRect();
    QPainter painter(this);
    painter.translate(client.topLeft());
    painter.fillRect(0, 0, client.width(), client.height(), Qt::white);
    if (binding_.StartValue == nullptr || !Usable()) {
        return; // no range yet: an empty graph
    }
    const CurveFrame frame = CurveDrawingArea(client.width(), client.height());
    const CurvePoints points = Points();
    const double valueRange = *binding_.ValueRange;
    handles_ = HandlePositions(frame, points, valueRange, TimeRange);
    const int height = frame.Height();
    const int span = handles_.EndX - handles_.StartX;
    // Columns left of the graph are never seen; starting at its edge keeps the loop short
    // whatever time was typed.
    for (int i = std::max(0, frame.Left - handles_.StartX); i < span; ++i) {
        const int x = handles_.StartX + i;
        if (x > frame.Right) {
            break;
        }
        const int bar = CurveBarHeight(i, span, points, valueRange, height);
        if (bar > 0) {
            painter.fillRect(x, frame.Bottom - bar, 1, bar, QColor(FillColour));
        }
    }
    const auto handle = [&](int x, int y, bool linked) {
        if (x < frame.Right && y > 0) {
            painter.fillRect(x - 2, y - 2, HandleSize, HandleSize,
                             QColor(linked ? LinkedColour : UnlinkedColour));
        }
    };
    const Oscillator* owner = binding_.Owner;
    handle(handles_.StartX, handles_.StartY, owner != nullptr && owner->PrevLinked != NoOscillator);
    handle(handles_.EndX, handles_.EndY, owner != nullptr && owner->NextLinked != NoOscillator);
    PlaceBoxes(frame);
}

void CCurveDisplay::PlaceBoxes(const CurveFrame& frame) {
    const QRect outer = geometry();
    const auto place = [](QWidget* box, QPoint target) {
        if (box != nullptr && box->pos() != target) {
            box->move(target);
        }
    };
    if (boxes_[0] != nullptr) {
        place(boxes_[0], {boxes_[0]->x(), outer.top() + handles_.StartY - ValueBoxLift});
    }
    if (boxes_[1] != nullptr) {
        place(boxes_[1], {boxes_[1]->x(), outer.top() + handles_.EndY - ValueBoxLift});
    }
    if (boxes_[2] != nullptr && handles_.StartX < frame.Right) {
        place(boxes_[2], {outer.left() + handles_.StartX - StartTimeShift, boxes_[2]->y()});
    }
    if (boxes_[3] != nullptr && handles_.EndX < frame.Right) {
        place(boxes_[3], {outer.left() + handles_.EndX, boxes_[3]->y()});
    }
}

void CCurveDisplay::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QFrame::mousePressEvent(event);
        return;
    }
    const QPoint at = ClientPoint(event->position());
    dragMode_ = DragModeAt(at.x(), at.y(), handles_);
    pressX_ = at.x();
    pressY_ = at.y();
    if (binding_.StartT != nullptr) {
        savedStartT_ = *binding_.StartT;
        savedEndT_ = *binding_.EndT;
    }
}

void CCurveDisplay::DragPoint(const QPoint& at, double& value, double& time) {
    const QRect client = contentsRect();
    const int threshold = QGuiApplication::styleHints()->startDragDistance();
    const Qt::KeyboardModifiers keys = QGuiApplication::queryKeyboardModifiers();
    if (!(keys & Qt::ControlModifier)) {
        if (const auto dragged =
                DraggedValue(at.y(), pressY_, client.height(), *binding_.ValueRange, threshold)) {
            value = *dragged;
        }
    }
    if (keys & Qt::ShiftModifier) {
        return;
    }
    if (const auto dragged = DraggedTime(at.x(), pressX_, client.width(), TimeRange, threshold)) {
        time = *dragged;
    }
}

void CCurveDisplay::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton) || binding_.StartValue == nullptr || !Usable()) {
        return;
    }
    const QPoint at = ClientPoint(event->position());
    double& startT = *binding_.StartT;
    double& endT = *binding_.EndT;
    switch (dragMode_) {
    case MoveStartPoint:
        DragPoint(at, *binding_.StartValue, startT);
        if (startT > endT) {
            startT = endT;
        }
        if (QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier) {
            endT = startT - savedStartT_ + savedEndT_; // the envelope moves as a whole
        }
        break;
    case MoveEndPoint:
        DragPoint(at, *binding_.EndValue, endT);
        if (endT < startT) {
            endT = startT;
        }
        break;
    default:
        if (const auto shape = BendShape(at.x(), at.y(), contentsRect().height(), handles_, scale_,
                                         *binding_.ValueRange)) {
            *binding_.CurveShape = *shape;
            if (owner_ != nullptr) {
                owner_->RefreshPage(true);
            }
        }
        return;
    }
    if (owner_ != nullptr) {
        owner_->RefreshPage(false);
        owner_->PropagateLinks();
    }
}

void CCurveDisplay::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QFrame::mouseReleaseEvent(event);
        return;
    }
    Rescale(1.1);
    update();
    if (owner_ != nullptr) {
        owner_->CommitChanges();
    }
}

void CCurveDisplay::focusOutEvent(QFocusEvent* event) {
    QFrame::focusOutEvent(event);
    if (owner_ != nullptr) {
        owner_->CommitChanges();
    }
}

} // namespace kettrik
