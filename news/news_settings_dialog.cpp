#include "news/news_settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

#include "platform/settings_store.h"
#include "resources/resource_loader.h"

namespace kettrik {

namespace {

constexpr int Template = 154;

enum Control {
    OkButton = 1,
    CancelButton = 2,
    AutomaticCheck = 1060,
    FrequencyCombo = 1070,
    ConnectionCombo = 1069,
};

const char* const FrequencyTexts[] = {"- every launch -", "Daily",         "Every 5 days",
                                      "Every 10 days",    "Every 30 days", "Every 45 days",
                                      "Every 60 days"};
const char* const ConnectionTexts[] = {"none", "Slow (Modem)", "Fast (Cable)", "Fixed (always on)"};

// What the dialog shows when a setting has no value yet.
constexpr std::int32_t DefaultAutomatic = 1;
constexpr std::int32_t DefaultFrequency = 2;
constexpr std::int32_t DefaultConnection = 1;

// A value the list has no entry for selects nothing.
void Select(QComboBox* list, std::int32_t index) {
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

} // namespace

CNewsSettingsDialog::CNewsSettingsDialog(QWidget* parent) : QDialog(parent) {
    const DialogTemplate layout = LoadDialogTemplate(Template);
    setWindowTitle(layout.Caption);
    setFont(DialogFont());
    const DialogUnits units(font());
    setFixedSize(units.X(layout.Width), units.Y(layout.Height));
    controls_ = BuildDialogControls(this, layout);
    for (const char* text : FrequencyTexts) {
        FrequencyList()->addItem(QString::fromLatin1(text));
    }
    for (const char* text : ConnectionTexts) {
        ConnectionList()->addItem(QString::fromLatin1(text));
    }
    FrequencyList()->setMaxVisibleItems(std::size(FrequencyTexts));
    ConnectSignals();
}

void CNewsSettingsDialog::ConnectSignals() {
    connect(static_cast<QPushButton*>(controls_.value(OkButton)), &QPushButton::clicked, this,
            &CNewsSettingsDialog::accept);
    connect(static_cast<QPushButton*>(controls_.value(CancelButton)), &QPushButton::clicked, this,
            &CNewsSettingsDialog::reject);
}

QCheckBox* CNewsSettingsDialog::AutomaticBox() const {
    return static_cast<QCheckBox*>(controls_.value(AutomaticCheck));
}

QComboBox* CNewsSettingsDialog::FrequencyList() const {
    return static_cast<QComboBox*>(controls_.value(FrequencyCombo));
}

QComboBox* CNewsSettingsDialog::ConnectionList() const {
    return static_cast<QComboBox*>(controls_.value(ConnectionCombo));
}

// The controls take the values when the dialog opens: a check state other than 0 or 1 has no
// box picture and shows unticked.
void CNewsSettingsDialog::showEvent(QShowEvent* event) {
    AutomaticBox()->setChecked(Automatic == 1);
    Select(FrequencyList(), Frequency);
    Select(ConnectionList(), Connection);
    QDialog::showEvent(event);
}

void CNewsSettingsDialog::accept() {
    Automatic = AutomaticBox()->isChecked() ? 1 : 0;
    Frequency = FrequencyList()->currentIndex();
    Connection = ConnectionList()->currentIndex();
    QDialog::accept();
}

bool EditNewsSettings(SettingsStore& settings, QWidget* parent) {
    CNewsSettingsDialog dialog(parent);
    dialog.Automatic = settings.GetInt(settings::Kettrik, settings::NewsAuto, DefaultAutomatic);
    dialog.Frequency =
        settings.GetInt(settings::Kettrik, settings::NewsFrequency, DefaultFrequency);
    dialog.Connection =
        settings.GetInt(settings::Kettrik, settings::NewsConnection, DefaultConnection);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    settings.WriteInt(settings::Kettrik, settings::NewsAuto, dialog.Automatic);
    settings.WriteInt(settings::Kettrik, settings::NewsFrequency, dialog.Frequency);
    settings.WriteInt(settings::Kettrik, settings::NewsConnection, dialog.Connection);
    return true;
}

} // namespace kettrik
