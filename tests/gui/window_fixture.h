// The main window as the editing and command tests drive it: a window with its own settings
// file and player, menus chosen through the menu bar, message boxes and file dialogs answered
// as a user answers them, and a stand-in for the desktop's opener of web addresses.
#pragma once

#include <functional>
#include <memory>

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/main_dialog.h"
#include "gui/stub_opener.h"
#include "model/sound_file.h"
#include "platform/audio_player.h"
#include "platform/settings_store.h"

namespace kettrik::test {

inline const QString Examples = QStringLiteral(EXAMPLES_DIR);

struct Window {
    explicit Window(const StartupCommand& command = {})
        : Settings(Folder.filePath(QStringLiteral("settings.ini")).toStdString()),
          Dialog(std::make_unique<CMainDialog>(Settings, Player, command)) {
        Dialog->show();
        if (!Activate()) {
            qFatal("the window did not show");
        }
    }
    // Keys go to the active window: after a dialog has closed, the platform here does not
    // hand activation back by itself.
    bool Activate() const {
        QApplication::setActiveWindow(Dialog.get());
        return QTest::qWaitForWindowActive(Dialog.get());
    }
    QPushButton* Button(int id) const { return static_cast<QPushButton*>(Dialog->Control(id)); }
    QTabBar* Oscillators() const { return Dialog->OscillatorTabs(); }
    void ClickTab(int index, Qt::MouseButton button = Qt::LeftButton) const {
        QTest::mouseClick(Oscillators(), button, {}, Oscillators()->tabRect(index).center());
    }
    QString Title() const { return Dialog->windowTitle(); }
    QTemporaryDir Folder;
    SettingsStore Settings;
    AudioPlayer Player;
    std::unique_ptr<CMainDialog> Dialog;
};

inline StartupCommand OpenCommand(const QString& path) {
    StartupCommand command;
    command.Form = StartupCommand::Kind::OpenFile;
    command.FilePath = path;
    return command;
}

// Writes a sound of `count` oscillators, each changed by `edit`, and returns its path.
template <typename Edit>
QString WriteSound(const QTemporaryDir& folder, const QString& name, int count, Edit edit,
                   int sampleFrequency = 22050) {
    auto sound = std::make_unique<Sound>();
    NewSound(*sound);
    sound->Count = count;
    sound->SampleFrequency = sampleFrequency;
    for (int i = 0; i < count; ++i) {
        NewOscillator(sound->Oscillators[i]);
        edit(i, sound->Oscillators[i]);
    }
    const QString path = folder.filePath(name);
    if (!SaveSound(path.toStdString(), *sound)) {
        qFatal("could not write the fixture %s", qPrintable(path));
    }
    return path;
}

// Runs `act` on the next modal widget of type T once it shows (a message box, a file dialog,
// the About box). Several can be queued: each waits for a widget other than the ones before.
// Returns the watcher; deleting it withdraws the answer.
template <typename T> QTimer* WhenShown(std::function<void(T*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        auto* widget = qobject_cast<T*>(QApplication::activeModalWidget());
        if (widget == nullptr || !widget->isVisible() || widget->property("answered").toBool()) {
            return;
        }
        widget->setProperty("answered", true);
        timer->stop();
        timer->deleteLater();
        act(widget);
    });
    timer->start();
    return timer;
}

// Answers the next message box with a click on the button, noting its text and caption.
struct Answer {
    QString Text;
    QString Caption;
    QMessageBox::StandardButtons Buttons;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    bool Shown = false;
    QPointer<QTimer> Watcher;
    // Withdraws the answer when no box came.
    void Withdraw() { delete Watcher.data(); }
};
inline std::shared_ptr<Answer> AnswerMessageBox(QMessageBox::StandardButton button) {
    auto answer = std::make_shared<Answer>();
    answer->Watcher = WhenShown<QMessageBox>([answer, button](QMessageBox* box) {
        answer->Text = box->text();
        answer->Caption = box->windowTitle();
        answer->Buttons = box->standardButtons();
        answer->Icon = box->icon();
        answer->Shown = true;
        QTest::mouseClick(box->button(button), Qt::LeftButton);
    });
    return answer;
}

// Chooses the file in the next file dialog, or cancels it when `path` is empty.
inline void ChooseFile(const QString& path) {
    WhenShown<QFileDialog>([path](QFileDialog* dialog) {
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept();
    });
}

// Chooses through the menu bar: a click on the popup's title, then each item of the path.
inline void ChooseMenuItem(QMenuBar* bar, const QStringList& path) {
    QAction* title = nullptr;
    for (QAction* action : bar->actions()) {
        if (action->text() == path.front()) {
            title = action;
        }
    }
    QVERIFY2(title != nullptr, qPrintable(path.front()));
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(title).center());
    QMenu* menu = title->menu();
    QTRY_VERIFY(menu->isVisible());
    for (qsizetype i = 1; i < path.size(); ++i) {
        QAction* item = nullptr;
        for (QAction* action : menu->actions()) {
            if (action->text() == path[i]) {
                item = action;
            }
        }
        QVERIFY2(item != nullptr, qPrintable(path[i]));
        QVERIFY2(item->isEnabled(), qPrintable(path[i]));
        // The item is highlighted and chosen with the keyboard: a mouse click can race with
        // the menus' own timers for opening submenus when the machine is busy.
        menu->setActiveAction(item);
        if (item->menu() != nullptr) {
            QTest::keyClick(menu, Qt::Key_Right);
            menu = item->menu();
            QTRY_VERIFY(menu->isVisible());
        } else {
            QTest::keyClick(menu, Qt::Key_Return);
            QTRY_VERIFY2(!menu->isVisible(), qPrintable(path[i]));
        }
    }
}

} // namespace kettrik::test
