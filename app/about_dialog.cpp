#include "app/about_dialog.h"

#include <QLabel>
#include <QPushButton>

#include "app/main_dialog.h"
#include "news/web_addresses.h"
#include "resources/resource_loader.h"

namespace kettrik {

namespace {

constexpr int AboutTemplate = 100;
constexpr int TitleText = 1065;
constexpr int OkButton = 1;
constexpr int WebButton = 1067;

} // namespace

CAboutDialog::CAboutDialog(CMainDialog& owner, const QString& productTitleWithBuild)
    : QDialog(&owner), owner_(owner) {
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFont(DialogFont());
    const DialogTemplate layout = LoadDialogTemplate(AboutTemplate);
    const DialogUnits units(font());
    setFixedSize(units.X(layout.Width), units.Y(layout.Height));
    setWindowTitle(layout.Caption);
    controls_ = BuildDialogControls(this, layout);
    static_cast<QLabel*>(Control(TitleText))->setText(productTitleWithBuild);
    static_cast<QPushButton*>(Control(WebButton))->setText(QString::fromLatin1(web::MakerHost));
    static_cast<QPushButton*>(Control(OkButton))->setFocus();
    ConnectSignals();
}

void CAboutDialog::ConnectSignals() {
    connect(static_cast<QPushButton*>(Control(OkButton)), &QPushButton::clicked, this,
            &QDialog::accept);
    connect(static_cast<QPushButton*>(Control(WebButton)), &QPushButton::clicked, this,
            &CAboutDialog::OnWebButton);
}

// The bare host: the query follows it directly.
void CAboutDialog::OnWebButton() {
    owner_.OpenWebPage(QString::fromLatin1(web::MakerSite));
}

} // namespace kettrik
