#include "app/main_dialog.h"

#include <QAction>
#include <QComboBox>
#include <QDateTime>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QVBoxLayout>

#include "app/oscillator_tabs.h"
#include "app/render_view.h"
#include "app/tempo_loop.h"
#include "app/window_texts.h"
#include "editors/curve_display.h"
#include "editors/envelope_page.h"
#include "editors/frequency_edit.h"
#include "editors/time_edit.h"
#include "editors/waveform_page.h"
#include "engine/wav_writer.h"
#include "integration/kettrik_file_dialog.h"
#include "integration/tuareg_messages.h"
#include "model/number_text.h"
#include "model/profile_file.h"
#include "model/sound_file.h"
#include "news/banner_commands.h"
#include "news/banner_flash.h"
#include "news/get_news.h"
#include "news/news_schedule.h"
#include "news/news_settings_dialog.h"
#include "platform/audio_player.h"
#include "resources/resource_loader.h"

namespace kettrik {

namespace {

constexpr int WindowTemplate = 102;
constexpr int ApplicationIcon = 128;

enum Control {
    PageFrame = 1007,
    OffLabel = 1057,
    OnButton = 1036,
    OffButton = 1037,
    InaudibleButton = 1038,
    SoloButton = 1015,
    OscillatorButton = 1040,
    FilterButton = 1041,
    ParameterTabRow = 1011,
    OscillatorTabRow = 1008,
    RenderBox = 1056,
    PlayButton = 1009,
    Banner = 1047,
    TempoBox = 1058,
    TempoLoopButton = 1060,
    WriteWavButton = 1061,
};

// Heights of the two tab rows in dialog units: room for their 16 and 24 pixel images. The
// rest of each template rectangle is the tab body that encloses the controls below.
constexpr int OscillatorTabRowHeight = 14;
constexpr int ParameterTabRowHeight = 17;

// A plug-in sound file without this key is no sound file: start with a new sound.
constexpr std::int32_t NoOscillatorsKey = 9876;

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// The panel a tab row sits on, as the platform draws the body of a tab control.
void AddTabBody(QWidget* parent, QTabBar* row, const QRect& whole, int rowHeight) {
    auto* body = new QFrame(parent);
    body->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    body->setGeometry(whole.adjusted(0, rowHeight - 1, 0, 0));
    body->lower();
    row->setGeometry(whole.x(), whole.y(), whole.width(), rowHeight);
    row->raise();
}

} // namespace

CMainDialog::CMainDialog(SettingsStore& settings, AudioPlayer& player,
                         const StartupCommand& command, QWidget* parent)
    : QDialog(parent), settings_(settings), player_(player), sound_(std::make_unique<Sound>()),
      snapshot_(std::make_unique<Snapshot>()) {
    // Until start-up puts the new sound in: 22050 Hz and no oscillators.
    NewSound(*sound_);
    sound_->Count = 0;
    TakeSnapshot(*snapshot_, *sound_, 0, 0);
    snapshot_->Count = 1;

    BuildWindow();
    ConnectSignals();

    versionText_ = QString::fromLatin1(VersionTextValue);
    buildText_ = QString::fromLatin1(BuildTextValue);
    RegisterTuaregPluginAtStartup();
    // Setting the text is an edit of it: the time boxes learn the tempo, no loop starts.
    static_cast<QLineEdit*>(Control(TempoBox))->setText(QStringLiteral("120"));
    envelopePage_->SetHost(this);
    waveformPage_->SetHost(this);
    setWindowIcon(ResourceIcon(ApplicationIcon));
    envelopePage_->show();
    waveformPage_->hide();
    ResetToNewSound();
    pluginMode_ = false;
    static_cast<QPushButton*>(Control(WriteWavButton))
        ->setText(QStringLiteral("Write WAV file..."));
    RunCommandLine(command);
    CheckNewsSchedule();
}

CMainDialog::~CMainDialog() {
    // The pages are deleted after this window's own parts; a box losing the focus then must
    // not commit into a sound that is gone.
    envelopePage_->SetHost(nullptr);
    waveformPage_->SetHost(nullptr);
    player_.Stop();
}

void CMainDialog::BuildWindow() {
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    BuildMenus();
    layout->setMenuBar(menuBar_); // the window grows by the menu's height
    client_ = new QWidget(this);
    client_->setFont(DialogFont());
    layout->addWidget(client_);

    const DialogTemplate window = LoadDialogTemplate(WindowTemplate);
    const DialogUnits units(client_->font());
    client_->setFixedSize(units.X(window.Width), units.Y(window.Height));
    controls_ = BuildDialogControls(
        client_, window, [this](const ControlTemplate& control, QWidget* parent) -> QWidget* {
            if (control.Id == RenderBox) {
                renderView_ = new RenderView(parent);
                return renderView_;
            }
            if (control.Id == Banner) {
                banner_ = new CBannerFlash(parent);
                return banner_;
            }
            return nullptr;
        });

    for (const auto& [id, rowHeight] : {std::pair{ParameterTabRow, ParameterTabRowHeight},
                                        std::pair{OscillatorTabRow, OscillatorTabRowHeight}}) {
        const ControlTemplate* control = nullptr;
        for (const ControlTemplate& c : window.Controls) {
            if (c.Id == id) {
                control = &c;
            }
        }
        AddTabBody(client_, static_cast<QTabBar*>(Control(id)), units.Rect(*control),
                   units.Y(rowHeight));
    }
    OscillatorTabs()->setIconSize(QSize(16, 16));
    ParameterTabBar()->setIconSize(QSize(24, 24));

    const QPoint pageCorner = Control(PageFrame)->pos();
    envelopePage_ = new CEnvelopePage(settings_, sound_->Oscillators, client_);
    waveformPage_ = new CWaveformPage(settings_, player_, client_);
    envelopePage_->move(pageCorner);
    waveformPage_->move(pageCorner);
    // Right clicks and the Insert and Delete keys of the oscillator tab row.
    OscillatorTabs()->installEventFilter(this);
}

void CMainDialog::ConnectSignals() {
    connect(OscillatorTabs(), &QTabBar::currentChanged, this, &CMainDialog::OnOscillatorTabChosen);
    connect(ParameterTabBar(), &QTabBar::currentChanged, this, &CMainDialog::OnParameterTabChosen);
    for (const auto& [id, state] :
         {std::pair{OnButton, std::int32_t{On}}, std::pair{OffButton, std::int32_t{Off}},
          std::pair{InaudibleButton, std::int32_t{Inaudible}}}) {
        connect(static_cast<QPushButton*>(Control(id)), &QPushButton::clicked, this,
                [this, s = state] { OnEnabledButton(s); });
    }
    for (const auto& [id, filter] : {std::pair{OscillatorButton, 0}, std::pair{FilterButton, 1}}) {
        connect(static_cast<QPushButton*>(Control(id)), &QPushButton::clicked, this,
                [this, f = filter] { OnRoleButton(f); });
    }
    connect(static_cast<QPushButton*>(Control(SoloButton)), &QPushButton::clicked, this,
            &CMainDialog::OnSolo);
    connect(static_cast<QPushButton*>(Control(PlayButton)), &QPushButton::clicked, this,
            &CMainDialog::Play);
    connect(static_cast<QPushButton*>(Control(TempoLoopButton)), &QPushButton::clicked, this,
            &CMainDialog::TempoChanged);
    connect(static_cast<QLineEdit*>(Control(TempoBox)), &QLineEdit::textChanged, this,
            &CMainDialog::TempoChanged);
    connect(static_cast<QPushButton*>(Control(WriteWavButton)), &QPushButton::clicked, this,
            &CMainDialog::WriteWavFile);
    connect(&tempoTimer_, &QTimer::timeout, this, &CMainDialog::Play);
    connect(banner_, &CBannerFlash::FSCommand, this, &CMainDialog::OnBannerCommand);
    banner_->SetPageOpener([this](const QString& address) { OpenWebPage(address); });
    connect(menuBar_, &QMenuBar::triggered, this,
            [this](QAction* action) { ExecuteCommand(action->data().toInt()); });
    for (const auto& [action, id] : accelerators_) {
        connect(action, &QAction::triggered, this, [this, c = id] { ExecuteCommand(c); });
    }
}

QTabBar* CMainDialog::OscillatorTabs() const {
    return static_cast<QTabBar*>(Control(OscillatorTabRow));
}

QTabBar* CMainDialog::ParameterTabBar() const {
    return static_cast<QTabBar*>(Control(ParameterTabRow));
}

QString CMainDialog::ProductTitle(bool withBuild) const {
    return kettrik::ProductTitle(versionText_, buildText_, withBuild);
}

void CMainDialog::UpdateTitle() {
    setWindowTitle(WindowTitle(ProductTitle(false), modified_, documentPath_));
}

void CMainDialog::RunCommandLine(const StartupCommand& command) {
    switch (command.Form) {
    case StartupCommand::Kind::None:
        break;
    case StartupCommand::Kind::OpenFile:
        OpenSoundFile(command.FilePath);
        break;
    case StartupCommand::Kind::Plugin:
        pluginMode_ = true;
        pluginWavPath_ = command.PluginWavPath;
        pluginSoundPath_ = command.PluginSoundPath;
        if (GetProfileInt(LocalPath(pluginSoundPath_), "Common", "Oscillators", NoOscillatorsKey) ==
            NoOscillatorsKey) {
            ResetToNewSound();
        } else {
            OpenSoundFile(pluginSoundPath_);
        }
        static_cast<QPushButton*>(Control(WriteWavButton))
            ->setText(QStringLiteral("Save WAV and Return"));
        break;
    }
}

// Start-up registers with Tuareg once it is installed, and greets the user when it has just
// done so; every other outcome stays silent.
void CMainDialog::RegisterTuaregPluginAtStartup() {
    kettrik::RegisterTuaregPluginAtStartup(this, ProductTitle(false), DefaultTuaregPaths());
}

void CMainDialog::RegisterTuaregPluginFromMenu() {
    kettrik::RegisterTuaregPluginFromMenu(this, ProductTitle(false), DefaultTuaregPaths(),
                                          [this](const QString& address) { OpenWebPage(address); });
}

// The last step of start-up: news when it is due, asked for unless news is automatic.
void CMainDialog::CheckNewsSchedule() {
    kettrik::CheckNewsSchedule(
        settings_, QDateTime::currentSecsSinceEpoch(),
        [this] {
            QMessageBox box(QMessageBox::Question, ProductTitle(true),
                            QString::fromLatin1(NewsQuestion), QMessageBox::Yes | QMessageBox::No,
                            this);
            return box.exec() == QMessageBox::Yes;
        },
        [this] { GetNewsNow(); });
}

void CMainDialog::GetNewsNow() {
    kettrik::GetNewsNow(*banner_, settings_);
}

void CMainDialog::EditNewsSettings() {
    kettrik::EditNewsSettings(settings_, this);
}

// Every movie the banner plays may send commands; only "Set<Key>" does anything.
void CMainDialog::OnBannerCommand(const QString& command, const QString& arguments) {
    HandleBannerCommand(settings_, command.toStdString(), arguments.toStdString());
}

int CMainDialog::SelectedOscillator() const {
    const int count = ClampCount(sound_->Count);
    return std::clamp(OscillatorTabs()->currentIndex(), 0, std::max(count - 1, 0));
}

void CMainDialog::SelectOscillatorTab(int index) {
    const QSignalBlocker blocker(OscillatorTabs());
    OscillatorTabs()->setCurrentIndex(index);
    lastOscillatorTab_ = OscillatorTabs()->currentIndex();
}

void CMainDialog::RebuildOscillatorTabs() {
    QTabBar* row = OscillatorTabs();
    const QSignalBlocker blocker(row);
    const int selected = row->currentIndex();
    const int count = ClampCount(sound_->Count);
    while (row->count() > count + 1) {
        row->removeTab(row->count() - 1);
    }
    while (row->count() < count + 1) {
        const int tab = row->addTab(ResourceImage(QStringLiteral("osc-4")), QString());
        row->setTabData(tab, int{ImageNewTab});
    }
    for (int i = 0; i < count; ++i) {
        const Oscillator& oscillator = sound_->Oscillators[i];
        const int image = OscillatorTabImage(oscillator);
        row->setTabText(i, OscillatorTabText(i, oscillator));
        row->setTabIcon(i, ResourceImage(QStringLiteral("osc-%1").arg(image)));
        row->setTabData(i, image);
        row->setTabEnabled(i, true);
    }
    row->setTabText(count, QStringLiteral("New"));
    row->setTabIcon(count, ResourceImage(QStringLiteral("osc-4")));
    row->setTabData(count, int{ImageNewTab});
    row->setCurrentIndex(selected);
    LinkOscillators(sound_->Oscillators, sound_->Count);
}

void CMainDialog::SetupParameterTabs(int index) {
    const Oscillator& shown = sound_->Oscillators[std::clamp(index, 0, MaxOscillators - 1)];
    QTabBar* row = ParameterTabBar();
    const bool filter = shown.Filter != 0;
    const QVector<ParameterTab> tabs = ParameterTabs(filter);
    if (row->count() != tabs.size()) {
        const QSignalBlocker blocker(row);
        while (row->count() > 0) {
            row->removeTab(0);
        }
        for (const ParameterTab& tab : tabs) {
            const int added =
                row->addTab(ResourceImage(QStringLiteral("param-%1").arg(tab.Image)), tab.Text);
            row->setTabData(added, tab.Image);
        }
        row->setCurrentIndex(0);
    }
    const Oscillator& selected = sound_->Oscillators[SelectedOscillator()];
    const int tab = row->currentIndex();
    const PageArea area = PageAreaFor(tab, selected.Enabled);
    Control(OffLabel)->setVisible(area.OffLabel);
    if (area.ChangeNothing) {
        return;
    }
    waveformPage_->setVisible(area.WaveformPage);
    envelopePage_->setVisible(area.EnvelopePage);
    if (tab == 0 || tab == 1) {
        envelopePage_->SetCornerIcon(EnvelopeCornerIcon(tab, selected.Filter != 0));
    }
}

void CMainDialog::ShowOscillator(int index) {
    LinkOscillators(sound_->Oscillators, sound_->Count);
    SetupParameterTabs(index);
    Oscillator& oscillator = sound_->Oscillators[std::clamp(index, 0, MaxOscillators - 1)];
    const QHash<std::int32_t, int> stateButtons = {
        {Off, OffButton}, {On, OnButton}, {Inaudible, InaudibleButton}};
    if (stateButtons.contains(oscillator.Enabled)) {
        static_cast<QPushButton*>(Control(stateButtons.value(oscillator.Enabled)))
            ->setChecked(true);
    }
    static_cast<QPushButton*>(Control(oscillator.Filter != 0 ? FilterButton : OscillatorButton))
        ->setChecked(true);

    QComboBox* modulators = envelopePage_->ModulationList();
    {
        const QSignalBlocker blocker(modulators);
        modulators->clear();
        modulators->addItem(QStringLiteral("-"));
        for (int i = 1; i <= ClampCount(sound_->Count); ++i) {
            modulators->addItem(QString::fromStdString(FormatInt(i)));
        }
    }

    Oscillator& o = oscillator;
    switch (ParameterTabBar()->currentIndex()) {
    case 0:
        envelopePage_->StartValueEdit()->NoteCapable = o.Filter == 0;
        envelopePage_->EndValueEdit()->NoteCapable = o.Filter == 0;
        envelopePage_->BindEnvelope(o.StartF, o.EndF, o.StartT, o.EndT, o.CurveShape0, o.FMModBy,
                                    o.FMModFac, o, valueRanges_[0]);
        {
            QPlainTextEdit* comment = envelopePage_->CommentBox();
            const QSignalBlocker blocker(comment);
            comment->setPlainText(QString::fromLocal8Bit(GetText(o.Comment)));
            comment->show();
        }
        break;
    case 1:
        envelopePage_->StartValueEdit()->NoteCapable = false;
        envelopePage_->EndValueEdit()->NoteCapable = false;
        envelopePage_->BindEnvelope(o.StartA, o.EndA, o.StartT, o.EndT, o.CurveShape1, o.AMModBy,
                                    o.AMModFac, o, valueRanges_[1]);
        envelopePage_->CommentBox()->hide();
        break;
    case 2:
        waveformPage_->BindWaveform(o);
        break;
    default:
        break;
    }
}

void CMainDialog::OnOscillatorTabChosen(int index) {
    if (index < 0) {
        return;
    }
    if (index >= sound_->Count) {
        if (!CanGrow(*sound_)) {
            SelectOscillatorTab(lastOscillatorTab_);
            TellTableIsFull();
            return;
        }
        index = sound_->Count;
        NewOscillator(sound_->Oscillators[index]);
        sound_->Count += 1;
    }
    lastOscillatorTab_ = index;
    ShowOscillator(index);
    RebuildOscillatorTabs();
    CommitChanges();
}

void CMainDialog::OnParameterTabChosen() {
    ShowOscillator(SelectedOscillator());
}

void CMainDialog::OnEnabledButton(std::int32_t state) {
    const int selected = SelectedOscillator();
    sound_->Oscillators[selected].Enabled = state;
    ShowOscillator(selected);
    RebuildOscillatorTabs();
    CommitChanges();
}

void CMainDialog::OnRoleButton(std::int32_t filter) {
    const int selected = SelectedOscillator();
    sound_->Oscillators[selected].Filter = filter;
    ShowOscillator(selected);
    RebuildOscillatorTabs();
    CommitChanges();
}

void CMainDialog::OnSolo(bool on) {
    SetSolo(*sound_, SelectedOscillator(), on);
    RebuildOscillatorTabs();
    CommitChanges();
}

void CMainDialog::OpenSoundFile(const QString& path) {
    LoadSound(LocalPath(path), *sound_);
    CheckSampleFrequencyMenu();
    documentPath_ = path;
    ClearHistory();
    modified_ = false;
    UpdateTitle();
    RebuildOscillatorTabs();
    SelectOscillatorTab(0);
    valueRanges_[0] = 0.0;
    valueRanges_[1] = 0.0;
    double longestEndT = 0.0;
    for (int i = 0; i < ClampCount(sound_->Count); ++i) {
        longestEndT = std::max(longestEndT, sound_->Oscillators[i].EndT);
    }
    envelopePage_->CurveDisplay()->TimeRange = longestEndT;
    ShowOscillator(0);
    needsRender_ = true;
}

void CMainDialog::ResetToNewSound() {
    NewSound(*sound_);
    CheckSampleFrequencyMenu();
    RebuildOscillatorTabs();
    SelectOscillatorTab(0);
    ShowOscillator(0);
    ClearHistory();
    needsRender_ = true;
    modified_ = false;
    documentPath_.clear();
    UpdateTitle();
}

} // namespace kettrik
