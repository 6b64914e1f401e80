// The envelope graph of the envelope page: the bound envelope drawn from its start to its
// end time on a white ground.
#pragma once

#include <QFrame>

namespace kettrik {

struct EnvelopeBinding {
    const double* StartValue = nullptr;
    const double* EndValue = nullptr;
    const double* StartT = nullptr;
    const double* EndT = nullptr;
    const double* CurveShape = nullptr;
    const double* ValueRange = nullptr; // owned by the main window
};

class CCurveDisplay : public QFrame {
    Q_OBJECT
public:
    explicit CCurveDisplay(QWidget* parent = nullptr);

    void Bind(const EnvelopeBinding& binding);

    // The time the graph spans, in milliseconds; 0 until something sets it.
    double TimeRange = 0.0;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    EnvelopeBinding binding_;
};

} // namespace kettrik
