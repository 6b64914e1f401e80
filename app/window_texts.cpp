#include "app/window_texts.h"

namespace kettrik {

QString ProductTitle(const QString& version, const QString& build, bool withBuild) {
    QString title = QStringLiteral("Kettrik Orvalene ") + version;
    if (withBuild) {
        title += QStringLiteral(" (Build ") + build + QLatin1Char(')');
    }
    return title;
}

QString WindowTitle(const QString& productTitle, bool modified, const QString& documentPath) {
    return productTitle + QStringLiteral(" [") + (modified ? QStringLiteral("*") : QString()) +
           (documentPath.isEmpty() ? QStringLiteral("untitled") : documentPath) + QLatin1Char(']');
}

} // namespace kettrik
