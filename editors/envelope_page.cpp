#include "editors/envelope_page.h"

#include <cmath>

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

#include "editors/editor_host.h"
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
    ShapeSliderId = 1043,
    ShapeBoxId = 1042,
    Curve = 1007,
    StartValueBox = 1021,
    EndValueBox = 1022,
    StartTimeBox = 1019,
    EndTimeBox = 1020,
    ZoomButton = 1023,
    ModulationSource = 1031,
    ModulationAmount = 1030,
    CommentText = 1045,
};

// The boxes whose focus loss ends an editing gesture.
constexpr int CommittingBoxes[] = {StartTimeBox,     EndTimeBox, StartValueBox, EndValueBox,
                                   ModulationAmount, ShapeBoxId, CommentText};

// The comment field holds this many bytes; a cut never splits a character.
constexpr int CommentLimit = 249;

QByteArray CutComment(const QString& text) {
    QByteArray bytes = text.toLocal8Bit();
    if (bytes.size() <= CommentLimit) {
        return bytes;
    }
    qsizetype end = CommentLimit;
    while (end > 0 && (static_cast<unsigned char>(bytes[end]) & 0xC0) == 0x80) {
        --end; // a continuation byte of a UTF-8 character
    }
    bytes.truncate(end);
    return bytes;
}

} // namespace

CEnvelopePage::CEnvelopePage(SettingsStore& settings, OscillatorTable& table, QWidget* parent)
    : QWidget(parent), table_(table) {
    const auto makeEditor = [&settings](const ControlTemplate& control,
                                        QWidget* parentWidget) -> QWidget* {
        if (control.Class == QLatin1String("CCurveDisplay")) {
            return new CCurveDisplay(parentWidget);
        }
        QLineEdit* edit = nullptr;
        if (control.Class == QLatin1String("CFrequencyEdit")) {
            edit = new CFrequencyEdit(settings, parentWidget);
        } else if (control.Class == QLatin1String("CTimeEdit")) {
            edit = new CTimeEdit(settings, parentWidget);
        }
        if (edit != nullptr) {
            edit->setAlignment(control.Align == QLatin1String("right")
                                   ? Qt::AlignRight | Qt::AlignVCenter
                                   : Qt::AlignLeft | Qt::AlignVCenter);
        }
        return edit;
    };
    controls_ = BuildPage(this, LoadDialogTemplate(EnvelopeTemplate), makeEditor);
    CurveDisplay()->SetOwner(this);
    CurveDisplay()->SetBoxes(StartValueEdit(), EndValueEdit(), StartTimeEdit(), EndTimeEdit());
    ConnectSignals();
}

CEnvelopePage::~CEnvelopePage() {
    // The boxes and the graph outlive this part of the page while the children are deleted;
    // their focus loss then must not reach a page or a window that is going away.
    for (const int id : CommittingBoxes) {
        controls_.value(id)->removeEventFilter(this);
    }
    CurveDisplay()->SetOwner(nullptr);
}

void CEnvelopePage::ConnectSignals() {
    QSlider* slider = ShapeSlider();
    connect(slider, &QSlider::valueChanged, this, &CEnvelopePage::OnSliderMoved);
    connect(slider, &QSlider::sliderReleased, this, &CEnvelopePage::CommitChanges);
    connect(ShapeBox(), &QLineEdit::textChanged, this, &CEnvelopePage::OnShapeBoxChanged);
    for (QLineEdit* box :
         {static_cast<QLineEdit*>(StartTimeEdit()), static_cast<QLineEdit*>(EndTimeEdit()),
          static_cast<QLineEdit*>(StartValueEdit()), static_cast<QLineEdit*>(EndValueEdit())}) {
        connect(box, &QLineEdit::textChanged, this, &CEnvelopePage::OnValueOrTimeBoxChanged);
    }
    connect(AmountBox(), &QLineEdit::textChanged, this, &CEnvelopePage::OnAmountBoxChanged);
    connect(ModulationList(), &QComboBox::activated, this, &CEnvelopePage::OnModulationChosen);
    connect(CommentBox(), &QPlainTextEdit::textChanged, this, &CEnvelopePage::OnCommentChanged);
    connect(static_cast<QPushButton*>(controls_.value(ZoomButton)), &QPushButton::clicked, this,
            &CEnvelopePage::Zoom);
    for (const int id : CommittingBoxes) {
        controls_.value(id)->installEventFilter(this);
    }
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
QSlider* CEnvelopePage::ShapeSlider() const {
    return static_cast<QSlider*>(controls_.value(ShapeSliderId));
}
QLineEdit* CEnvelopePage::ShapeBox() const {
    return static_cast<QLineEdit*>(controls_.value(ShapeBoxId));
}
QLineEdit* CEnvelopePage::AmountBox() const {
    return static_cast<QLineEdit*>(controls_.value(ModulationAmount));
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
    CurveDisplay()->Bind(
        {startValue_, endValue_, startT_, endT_, curveShape_, valueRange_, oscillator_});
    CurveDisplay()->Rescale(1.1);
    RefreshPage(true);
}

void CEnvelopePage::RefreshPage(bool rescale) {
    if (!Bound()) {
        return;
    }
    const bool snap = !rescale;
    changeHandling_ = false;
    StartValueEdit()->ShowValue(*startValue_, snap);
    EndValueEdit()->ShowValue(*endValue_, snap);
    StartTimeEdit()->ShowValue(*startT_, snap);
    EndTimeEdit()->ShowValue(*endT_, snap);
    {
        // The amount takes the value of its text, also when the text did not change.
        const QSignalBlocker blocker(AmountBox());
        AmountBox()->setText(QString::fromStdString(FormatGeneral(*modulationAmount_, 5)));
    }
    OnAmountBoxChanged();
    {
        QComboBox* list = ModulationList();
        const QSignalBlocker blocker(list);
        const std::int64_t entry = static_cast<std::int64_t>(*modulationSource_) + 1;
        list->setCurrentIndex(entry >= 0 && entry < list->count() ? static_cast<int>(entry) : -1);
    }
    changeHandling_ = true;
    {
        // Read back like a typed shape: the stored shape becomes its five-digit text and the
        // slider follows.
        const QSignalBlocker blocker(ShapeBox());
        ShapeBox()->setText(QString::fromStdString(FormatGeneral(*curveShape_, 5)));
    }
    OnShapeBoxChanged();
    if (rescale) {
        CurveDisplay()->Rescale(1.1);
    }
    CurveDisplay()->update();
}

void CEnvelopePage::OnSliderMoved(int position) {
    if (!changeHandling_ || !Bound()) {
        return;
    }
    *curveShape_ = std::pow(10.0, position * 0.02);
    CurveDisplay()->update();
    changeHandling_ = false;
    ShapeBox()->setText(QString::fromStdString(FormatGeneral(*curveShape_, 3)));
    changeHandling_ = true;
    if (!ShapeSlider()->isSliderDown()) {
        CommitChanges(); // a key or a click on the groove is a whole gesture
    }
}

void CEnvelopePage::OnShapeBoxChanged() {
    if (!changeHandling_ || !Bound()) {
        return;
    }
    *curveShape_ = ParseReal(ShapeBox()->text().toStdString());
    CurveDisplay()->update();
    const QSignalBlocker blocker(ShapeSlider());
    ShapeSlider()->setValue(ShapeSliderPosition(*curveShape_));
}

void CEnvelopePage::OnValueOrTimeBoxChanged() {
    if (!changeHandling_ || !Bound()) {
        return;
    }
    *startT_ = StartTimeEdit()->ReadValue();
    *endT_ = EndTimeEdit()->ReadValue();
    *startValue_ = StartValueEdit()->ReadValue();
    *endValue_ = EndValueEdit()->ReadValue();
    CurveDisplay()->Rescale(1.1);
    CurveDisplay()->update();
}

void CEnvelopePage::OnAmountBoxChanged() {
    if (Bound()) {
        *modulationAmount_ = ParseReal(AmountBox()->text().toStdString());
    }
}

void CEnvelopePage::OnModulationChosen(int entry) {
    if (!Bound()) {
        return;
    }
    *modulationSource_ = entry - 1;
    CommitChanges();
}

void CEnvelopePage::OnCommentChanged() {
    if (oscillator_ != nullptr) {
        const QByteArray text = CutComment(CommentBox()->toPlainText());
        SetText(oscillator_->Comment,
                std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    }
}

void CEnvelopePage::Zoom() {
    if (!Bound()) {
        return;
    }
    *valueRange_ = 0.0;
    CurveDisplay()->TimeRange = 0.0;
    RefreshPage(true);
}

void CEnvelopePage::PropagateLinks() {
    if (oscillator_ == nullptr) {
        return;
    }
    const Oscillator& self = *oscillator_;
    const auto valid = [](std::int32_t position) {
        return position >= 0 && position < MaxOscillators;
    };
    if (valid(self.NextLinked)) {
        Oscillator& next = table_[static_cast<std::size_t>(self.NextLinked)];
        next.StartT = self.EndT;
        next.StartF = self.EndF;
        next.StartA = self.EndA;
    }
    if (valid(self.PrevLinked)) {
        Oscillator& previous = table_[static_cast<std::size_t>(self.PrevLinked)];
        previous.EndT = self.StartT;
        previous.EndF = self.StartF;
        previous.EndA = self.StartA;
    }
}

void CEnvelopePage::CommitChanges() {
    if (host_ != nullptr) {
        host_->CommitChanges();
    }
}

bool CEnvelopePage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        CommitChanges();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kettrik
