#include "integration/kettrik_file_dialog.h"

// Placeholder until the preview panel lands: a plain file dialog.
namespace kettrik {

struct CKettrikFileDialog::Preview {};

CKettrikFileDialog::CKettrikFileDialog(bool openFileDialog, const QString& defaultExtension,
                                       const QString& fileName, int, const QString&,
                                       QWidget* parent, SettingsStore&, AudioPlayer&)
    : QFileDialog(parent) {
    setOption(QFileDialog::DontUseNativeDialog);
    setAcceptMode(openFileDialog ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    setDefaultSuffix(QString(defaultExtension).remove(0, 1));
    selectFile(fileName);
}

CKettrikFileDialog::~CKettrikFileDialog() = default;

QString CKettrikFileDialog::PathName() const {
    const QStringList files = selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}

} // namespace kettrik
