#include "app/kettrik_app.h"

#include <QApplication>
#include <QMessageBox>

#include "app/command_line.h"
#include "app/main_dialog.h"
#include "engine/wav_reader.h"
#include "platform/audio_player.h"
#include "platform/document_types.h"
#include "platform/executable_path.h"
#include "platform/file_associations.h"
#include "platform/settings_store.h"

namespace kettrik {

int CKettrikApp::Run(const QStringList& arguments) {
    // The desktop learns at every start which program opens sound files; a failure changes
    // nothing the user can act on, so it stays silent.
    (void)RegisterFileType(KettrikFileType(ExecutablePath(), "Kettrik Orvalene 5.0 file"));

    SettingsStore settings;
    AudioPlayer player;
    SetWavMessageHandler([](std::string_view text, std::string_view title) {
        QMessageBox::critical(QApplication::activeWindow(),
                              QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())),
                              QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    });
    {
        CMainDialog window(settings, player, ParseCommandLine(arguments));
        window.exec();
    } // the window's temporary playback file goes with it
    SetWavMessageHandler({});
    return 0;
}

} // namespace kettrik
