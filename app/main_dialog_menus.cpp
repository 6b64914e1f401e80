// The main window's command layer: the menu bar, the accelerators, the context menu of the
// oscillator tab row and its Insert and Delete keys, and the dispatch of every command.
#include <QAction>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTabBar>

#include "app/commands.h"
#include "app/main_dialog.h"
#include "app/web_links.h"
#include "news/web_addresses.h"
#include "resources/menu_resources.h"

namespace kettrik {

namespace {

constexpr int MenuBarResource = 131;
constexpr int ContextMenuResource = 152;
constexpr int AcceleratorResource = 150;

// The context menu opens this far right of the pointer, so the button's release does not
// land on its first item.
constexpr int ContextMenuOffset = 10;

struct SampleFrequencyItem {
    int Command;
    int Hertz;
};
constexpr SampleFrequencyItem SampleFrequencyItems[] = {
    {command::SampleFrequency22050, 22050},
    {command::SampleFrequency44100, 44100},
    {command::SampleFrequency48000, 48000},
};

} // namespace

void CMainDialog::BuildMenus() {
    menuBar_ = new QMenuBar(this);
    BuildMenuBar(menuBar_, LoadMenuTemplate(MenuBarResource));
    QAction* homepage = MenuCommand(command::AuthorHomepage);
    homepage->setText(homepage->text() + QString::fromLatin1(web::MakerHost));
    for (const SampleFrequencyItem& item : SampleFrequencyItems) {
        MenuCommand(item.Command)->setCheckable(true);
    }
    // The accelerators belong to the window, not to the menu items: they work while a text
    // box has the focus (a text box keeps its own Copy, Cut, Paste and Undo keys).
    for (const AcceleratorTemplate& key : LoadAccelerators(AcceleratorResource)) {
        auto* action = new QAction(this);
        action->setShortcut(key.Key);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        accelerators_.push_back({action, key.Command});
    }
}

QAction* CMainDialog::MenuCommand(int command) const {
    for (QAction* popup : menuBar_->actions()) {
        if (popup->menu() != nullptr) {
            if (QAction* found = FindCommand(popup->menu(), command)) {
                return found;
            }
        }
    }
    return nullptr;
}

void CMainDialog::CheckSampleFrequencyMenu() {
    for (const SampleFrequencyItem& item : SampleFrequencyItems) {
        MenuCommand(item.Command)->setChecked(sound_->SampleFrequency == item.Hertz);
    }
}

void CMainDialog::ExecuteCommand(int id) {
    for (const SampleFrequencyItem& item : SampleFrequencyItems) {
        if (id == item.Command) {
            SetSampleFrequency(item.Hertz);
            return;
        }
    }
    const QString link = WebLinkAddress(id);
    if (!link.isEmpty()) {
        OpenWebPage(link);
        return;
    }
    switch (id) {
    case command::FileNew:
        FileNew();
        break;
    case command::FileOpen:
        FileOpen();
        break;
    case command::FileSave:
        Save();
        break;
    case command::FileSaveAs:
        SaveAs();
        break;
    case command::FileExit:
        Exit();
        break;
    case command::EditUndo:
        Undo();
        break;
    case command::EditCut:
        Cut();
        break;
    case command::EditCopy:
        Copy();
        break;
    case command::EditPaste:
        Paste();
        break;
    case command::InsertOscillator:
        InsertOscillator();
        break;
    case command::DeleteOscillator:
        DeleteOscillator();
        break;
    case command::Normalize:
        Normalize();
        break;
    case command::RegisterTuaregPlugin:
        RegisterTuaregPluginFromMenu();
        break;
    case command::GetNewsNow:
        GetNewsNow();
        break;
    case command::NewsSettings:
        EditNewsSettings();
        break;
    case command::About:
        ShowAbout();
        break;
    default:
        break;
    }
}

bool CMainDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == OscillatorTabs()) {
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
            ShowTabContextMenu(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
            return true;
        }
        // The platform's own context-menu event would come on top of the release.
        if (event->type() == QEvent::ContextMenu &&
            static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Mouse) {
            return true;
        }
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->modifiers() == Qt::NoModifier &&
                (key->key() == Qt::Key_Insert || key->key() == Qt::Key_Delete)) {
                OnOscillatorTabKey(key->key());
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CMainDialog::OnOscillatorTabKey(int key) {
    if (key == Qt::Key_Insert) {
        InsertOscillator();
        return;
    }
    const QMessageBox::StandardButton answer =
        QMessageBox::question(this, ProductTitle(true),
                              QStringLiteral("Are you sure you want to delete this Oscillator?"),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer == QMessageBox::Yes) {
        DeleteOscillator();
    }
}

void CMainDialog::ShowTabContextMenu(const QPoint& globalPosition) {
    QTabBar* row = OscillatorTabs();
    const int n = row->tabAt(row->mapFromGlobal(globalPosition));
    if (n < 0) {
        return;
    }
    const int count = ClampCount(sound_->Count);
    if (n >= count) {
        row->setCurrentIndex(n); // as choosing "New": a new oscillator is appended
        return;
    }
    const MenuTemplate resource = LoadMenuTemplate(ContextMenuResource);
    if (resource.Popups.isEmpty()) {
        return;
    }
    QMenu menu(this);
    BuildMenuItems(&menu, resource.Popups.front());
    const std::int32_t enabled = sound_->Oscillators[n].Enabled;
    for (const auto& [id, state] : {std::pair{command::StateOn, std::int32_t{On}},
                                    std::pair{command::StateOff, std::int32_t{Off}},
                                    std::pair{command::StateInaudible, std::int32_t{Inaudible}}}) {
        QAction* item = FindCommand(&menu, id);
        item->setCheckable(true);
        item->setChecked(enabled == state);
    }
    const QAction* chosen = menu.exec(globalPosition + QPoint(ContextMenuOffset, 0));
    if (chosen == nullptr) {
        return;
    }
    const int id = chosen->data().toInt();
    switch (id) {
    case command::InsertOscillator:
        InsertOscillator(nullptr, n);
        break;
    case command::InsertAfter:
        InsertOscillator(nullptr, n + 1);
        break;
    case command::DeleteOscillator:
        DeleteOscillator(n);
        break;
    case command::StateOn:
    case command::StateOff:
    case command::StateInaudible:
        // Not committed here: the next commit (Play, Save, any edit) takes it up.
        sound_->Oscillators[n].Enabled = id == command::StateOn    ? On
                                         : id == command::StateOff ? Off
                                                                   : Inaudible;
        RebuildOscillatorTabs();
        if (n == SelectedOscillator()) {
            ShowOscillator(n);
        }
        break;
    case command::EditCopy:
    case command::EditCut:
    case command::EditPaste:
        ExecuteCommand(id);
        break;
    default:
        break;
    }
}

} // namespace kettrik
