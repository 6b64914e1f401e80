// "Quorr News": whether scheduled news comes without asking, how often the schedule looks for
// news, and the kind of internet connection (only reported to the web pages the program
// opens). The dialog holds the three values; EditNewsSettings reads and writes the settings.
#pragma once

#include <cstdint>

#include <QDialog>
#include <QHash>

class QCheckBox;
class QComboBox;

namespace kettrik {

class SettingsStore;

class CNewsSettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit CNewsSettingsDialog(QWidget* parent = nullptr);

    // The values bound to the controls: the check state and the two selected indices (-1 for
    // no selection). Set before the dialog opens; read after OK.
    std::int32_t Automatic = 0;
    std::int32_t Frequency = -1;
    std::int32_t Connection = -1;

    QCheckBox* AutomaticBox() const;
    QComboBox* FrequencyList() const;
    QComboBox* ConnectionList() const;

    void showEvent(QShowEvent* event) override;
    void accept() override;

private:
    void ConnectSignals();

    QHash<int, QWidget*> controls_;
};

// The menu command: shows the dialog with the stored values and writes them back on OK.
// True when OK was pressed.
bool EditNewsSettings(SettingsStore& settings, QWidget* parent);

} // namespace kettrik
