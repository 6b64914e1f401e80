// The About box: the product title with its build, and a button with the maker's host name
// that opens the maker's home page.
#pragma once

#include <QDialog>
#include <QHash>

namespace kettrik {

class CMainDialog;

class CAboutDialog : public QDialog {
    Q_OBJECT
public:
    CAboutDialog(CMainDialog& owner, const QString& productTitleWithBuild);

    QWidget* Control(int id) const { return controls_.value(id); }

private:
    void ConnectSignals();
    void OnWebButton();

    CMainDialog& owner_;
    QHash<int, QWidget*> controls_;
};

} // namespace kettrik
