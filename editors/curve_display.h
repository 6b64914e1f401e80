// The envelope graph of the envelope page: the bound envelope as a filled area from its start
// to its end time, with a handle at each end. Dragging a handle moves that point in time and
// value (CTRL keeps the value, SHIFT keeps the time); dragging elsewhere bends the curve. The
// page's four value and time boxes travel along with the handles.
#pragma once

#include <QFrame>

#include "editors/curve_geometry.h"
#include "model/sound.h"

namespace kettrik {

// What the graph edits, all owned elsewhere: fields of the selected oscillator and the
// window's value range.
struct EnvelopeBinding {
    double* StartValue = nullptr;
    double* EndValue = nullptr;
    double* StartT = nullptr;
    double* EndT = nullptr;
    double* CurveShape = nullptr;
    double* ValueRange = nullptr;
    const Oscillator* Owner = nullptr; // for its links
};

// What the graph asks of its page while and after a point is dragged.
class CurveDisplayOwner {
public:
    virtual void RefreshPage(bool rescale) = 0;
    virtual void PropagateLinks() = 0;
    virtual void CommitChanges() = 0;

protected:
    ~CurveDisplayOwner() = default;
};

class CCurveDisplay : public QFrame {
    Q_OBJECT
public:
    explicit CCurveDisplay(QWidget* parent = nullptr);

    void SetOwner(CurveDisplayOwner* owner) { owner_ = owner; }
    // The boxes that move with the handles: start value, end value, start time, end time.
    void SetBoxes(QWidget* startValue, QWidget* endValue, QWidget* startTime, QWidget* endTime);
    void Bind(const EnvelopeBinding& binding);

    void Rescale(double factor);

    // Client pixels of the handles as of the last paint.
    const CurveHandles& Handles() const { return handles_; }
    const CurveScale& Scale() const { return scale_; }
    int DragMode() const { return dragMode_; }

    // The time the right edge of the graph stands for, in milliseconds.
    double TimeRange = 0.0;

    static constexpr QRgb FillColour = 0xff00c0ff;
    static constexpr QRgb LinkedColour = 0xffff0000;
    static constexpr QRgb UnlinkedColour = 0xff008000;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    CurvePoints Points() const;
    QPoint ClientPoint(const QPointF& widgetPoint) const;
    bool Usable() const;
    void DragPoint(const QPoint& at, double& value, double& time);
    void PlaceBoxes(const CurveFrame& frame);

    CurveDisplayOwner* owner_ = nullptr;
    EnvelopeBinding binding_;
    QWidget* boxes_[4] = {};
    CurveScale scale_;
    CurveHandles handles_;
    int dragMode_ = BendCurve;
    double savedStartT_ = 0.0;
    double savedEndT_ = 0.0;
    int pressY_ = 0;
    int pressX_ = 0;
};

} // namespace kettrik
