// The page that edits one envelope of the selected oscillator: start and end value, start
// and end time, curve shape, the modulation acting on it and, on the first tab, the comment.
// Every edit goes into the oscillator at once; the end of each gesture (a box left, the
// slider released, a modulator chosen, the mouse released over the graph) is recorded by
// the window.
#pragma once

#include <cstdint>

#include <QHash>
#include <QWidget>

#include "editors/curve_display.h"
#include "model/sound.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QSlider;

namespace kettrik {

class CFrequencyEdit;
class CTimeEdit;
class EditorHost;
class SettingsStore;

class CEnvelopePage : public QWidget, public CurveDisplayOwner {
    Q_OBJECT
public:
    // The table is the window's, for the neighbours a linked point is copied to; the settings
    // give the value and time boxes their display modes.
    CEnvelopePage(SettingsStore& settings, OscillatorTable& table, QWidget* parent = nullptr);
    ~CEnvelopePage() override;

    void SetHost(EditorHost* host) { host_ = host; }

    // Binds the page to one envelope of one oscillator; the references stay valid because
    // the window's table never moves.
    void BindEnvelope(double& startValue, double& endValue, double& startT, double& endT,
                      double& curveShape, std::int32_t& modulationSource, double& modulationAmount,
                      Oscillator& oscillator, double& valueRange);

    // Rewrites the boxes from the bound fields (without rescale a dragged point may snap to a
    // note or a beat) and redraws the graph.
    void RefreshPage(bool rescale) override;
    // Copies the moved end points to the linked neighbours, frequency, amplitude and time.
    void PropagateLinks() override;
    void CommitChanges() override;

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
    QSlider* ShapeSlider() const;
    QLineEdit* ShapeBox() const;
    QLineEdit* AmountBox() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ConnectSignals();
    bool Bound() const { return startValue_ != nullptr; }
    void OnSliderMoved(int position);
    void OnShapeBoxChanged();
    void OnValueOrTimeBoxChanged();
    void OnAmountBoxChanged();
    void OnModulationChosen(int entry);
    void OnCommentChanged();
    void Zoom();

    OscillatorTable& table_;
    QHash<int, QWidget*> controls_;
    EditorHost* host_ = nullptr;
    int cornerIcon_ = 0;
    bool changeHandling_ = true;

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
