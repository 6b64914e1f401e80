// The page that edits one envelope of the selected oscillator: start and end value, start
// and end time, curve shape, the modulation acting on it and, on the first tab, the comment.
#pragma once

#include <cstdint>

#include <QHash>
#include <QWidget>

#include "model/sound.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSlider;

namespace kettrik {

class CCurveDisplay;
class CFrequencyEdit;
class CTimeEdit;
class EditorHost;

class CEnvelopePage : public QWidget {
    Q_OBJECT
public:
    explicit CEnvelopePage(QWidget* parent = nullptr);

    void SetHost(EditorHost* host) { host_ = host; }

    // Binds the page to one envelope of one oscillator; the references stay valid because
    // the window's table never moves.
    void BindEnvelope(double& startValue, double& endValue, double& startT, double& endT,
                      double& curveShape, std::int32_t& modulationSource, double& modulationAmount,
                      Oscillator& oscillator, double& valueRange);

    // Icon resource shown in the page's corner (135, 134, 145 or 146).
    void SetCornerIcon(int iconId);
    int CornerIcon() const { return cornerIcon_; }

    QWidget* Control(int id) const { return controls_.value(id); }
    CFrequencyEdit* StartValueEdit() const;
    CFrequencyEdit* EndValueEdit() const;
    CTimeEdit* StartTimeEdit() const;
    CTimeEdit* EndTimeEdit() const;
    CCurveDisplay* CurveDisplay() const;
    QComboBox* ModulationList() const;
    QPlainTextEdit* CommentBox() const;

private:
    void RefreshPage();

    QHash<int, QWidget*> controls_;
    EditorHost* host_ = nullptr;
    int cornerIcon_ = 0;

    double* startValue_ = nullptr;
    double* endValue_ = nullptr;
    double* startT_ = nullptr;
    double* endT_ = nullptr;
    double* curveShape_ = nullptr;
    std::int32_t* modulationSource_ = nullptr;
    double* modulationAmount_ = nullptr;
    Oscillator* oscillator_ = nullptr;
    double* valueRange_ = nullptr;
};

} // namespace kettrik
