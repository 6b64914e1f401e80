#include "editors/envelope_page.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QSlider>

#include "editors/curve_display.h"
#include "editors/frequency_edit.h"
#include "editors/page_controls.h"
#include "editors/time_edit.h"
#include "model/number_text.h"
#include "resources/resource_loader.h"

namespace kettrik {

namespace {

constexpr int EnvelopeTemplate = 135;
enum Control {
    CornerIconLabel = 1037,
    ShapeSlider = 1043,
    ShapeBox = 1042,
    Curve = 1007,
    StartValueBox = 1021,
    EndValueBox = 1022,
    StartTimeBox = 1019,
    EndTimeBox = 1020,
    ModulationSource = 1031,
    ModulationAmount = 1030,
    CommentText = 1045,
};

QWidget* MakeEditor(const ControlTemplate& control, QWidget* parent) {
    if (control.Class == QLatin1String("CCurveDisplay")) {
        return new CCurveDisplay(parent);
    }
    QLineEdit* edit = nullptr;
    if (control.Class == QLatin1String("CFrequencyEdit")) {
        edit = new CFrequencyEdit(parent);
    } else if (control.Class == QLatin1String("CTimeEdit")) {
        edit = new CTimeEdit(parent);
    }
    if (edit != nullptr) {
        edit->setAlignment(control.Align == QLatin1String("right")
                               ? Qt::AlignRight | Qt::AlignVCenter
                               : Qt::AlignLeft | Qt::AlignVCenter);
    }
    return edit;
}

} // namespace

CEnvelopePage::CEnvelopePage(QWidget* parent) : QWidget(parent) {
    controls_ = BuildPage(this, LoadDialogTemplate(EnvelopeTemplate), MakeEditor);
}

CFrequencyEdit* CEnvelopePage::StartValueEdit() const {
    return static_cast<CFrequencyEdit*>(controls_.value(StartValueBox));
}
CFrequencyEdit* CEnvelopePage::EndValueEdit() const {
    return static_cast<CFrequencyEdit*>(controls_.value(EndValueBox));
}
CTimeEdit* CEnvelopePage::StartTimeEdit() const {
    return static_cast<CTimeEdit*>(controls_.value(StartTimeBox));
}
CTimeEdit* CEnvelopePage::EndTimeEdit() const {
    return static_cast<CTimeEdit*>(controls_.value(EndTimeBox));
}
CCurveDisplay* CEnvelopePage::CurveDisplay() const {
    return static_cast<CCurveDisplay*>(controls_.value(Curve));
}
QComboBox* CEnvelopePage::ModulationList() const {
    return static_cast<QComboBox*>(controls_.value(ModulationSource));
}
QPlainTextEdit* CEnvelopePage::CommentBox() const {
    return static_cast<QPlainTextEdit*>(controls_.value(CommentText));
}

void CEnvelopePage::SetCornerIcon(int iconId) {
    cornerIcon_ = iconId;
    auto* label = static_cast<QLabel*>(controls_.value(CornerIconLabel));
    const QIcon icon = ResourceIcon(iconId);
    label->setPixmap(icon.isNull() ? QPixmap() : icon.pixmap(label->size()));
}

void CEnvelopePage::BindEnvelope(double& startValue, double& endValue, double& startT, double& endT,
                                 double& curveShape, std::int32_t& modulationSource,
                                 double& modulationAmount, Oscillator& oscillator,
                                 double& valueRange) {
    startValue_ = &startValue;
    endValue_ = &endValue;
    startT_ = &startT;
    endT_ = &endT;
    curveShape_ = &curveShape;
    modulationSource_ = &modulationSource;
    modulationAmount_ = &modulationAmount;
    oscillator_ = &oscillator;
    valueRange_ = &valueRange;
    CurveDisplay()->Bind({startValue_, endValue_, startT_, endT_, curveShape_, valueRange_});
    RefreshPage();
}

void CEnvelopePage::RefreshPage() {
    StartValueEdit()->ShowValue(*startValue_);
    EndValueEdit()->ShowValue(*endValue_);
    StartTimeEdit()->ShowValue(*startT_);
    EndTimeEdit()->ShowValue(*endT_);
    static_cast<QLineEdit*>(controls_.value(ModulationAmount))
        ->setText(QString::fromStdString(FormatGeneral(*modulationAmount_, 5)));
    {
        QComboBox* list = ModulationList();
        const QSignalBlocker blocker(list);
        const std::int64_t entry = static_cast<std::int64_t>(*modulationSource_) + 1;
        list->setCurrentIndex(entry >= 0 && entry < list->count() ? static_cast<int>(entry) : -1);
    }
    static_cast<QLineEdit*>(controls_.value(ShapeBox))
        ->setText(QString::fromStdString(FormatGeneral(*curveShape_, 5)));
    static_cast<QSlider*>(controls_.value(ShapeSlider))
        ->setValue(ShapeSliderPosition(*curveShape_));
    CurveDisplay()->update();
}

} // namespace kettrik
