// The program's resources: dialog layouts in dialog units, the string table and icons, all
// compiled into the program (Qt resources under ":/").
//
// A dialog layout lists its controls with ids, kinds, texts, positions and sizes in dialog
// units. Dialog units scale with the dialog font: x = dlu * average char width / 4,
// y = dlu * char height / 8, so layouts keep their proportions with the user's font.
#pragma once

#include <functional>

#include <QFont>
#include <QHash>
#include <QIcon>
#include <QRect>
#include <QString>
#include <QVector>
#include <QWidget>

class QWidget;

namespace kettrik {

struct ControlTemplate {
    int Id = -1;  // -1 for controls the code never addresses
    QString Kind; // frame, label, button, pushradio, pushcheck, checkbox, tabs, whitebox,
                  // banner, edit, slider, combo, groupbox, icon, iconbutton, spin, custom
    QString Text;
    QString Class;                  // for kind "custom": the widget class the page supplies
    QString Align;                  // left (default), right, center
    int X = 0, Y = 0, W = 0, H = 0; // dialog units
    bool Visible = true;
    bool Group = false;   // starts a group of radio buttons
    bool Default = false; // the default push button
    bool Multiline = false;
    bool ReadOnly = false;
    bool VScroll = false;
    bool HScroll = false;
    bool Sunken = false;
    bool Scroll = false;  // tab row scrolls when the tabs do not fit
    bool NoTip = false;   // no tooltip although the string table has one for the id
    int Min = 0, Max = 0; // slider range
    int Icon = 0;         // icon resource id shown by the control
    int Buddy = 0;        // spin control's edit box
};

struct DialogTemplate {
    int Id = 0;
    int Width = 0, Height = 0; // dialog units
    QString Caption;
    bool Child = false;
    QVector<ControlTemplate> Controls;
};

// The layout with this resource id; an empty template (Id 0) if there is none.
DialogTemplate LoadDialogTemplate(int id);

// The font dialogs are laid out with: the platform's normal UI font at 8 to 9 points.
QFont DialogFont();

// Dialog units -> pixels for one font.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);
    int X(int dlu) const;
    int Y(int dlu) const;
    QRect Rect(int x, int y, int w, int h) const;
    QRect Rect(const ControlTemplate& control) const {
        return Rect(control.X, control.Y, control.W, control.H);
    }

private:
    int baseX_;
    int baseY_;
};

// Creates the controls of a layout as children of parent, in template order (which is the tab
// order; earlier controls are stacked on top). Controls of kind "custom" come from the
// factory, which gets the class name and returns a widget (or nullptr to skip it).
// Returns the controls by id (controls with id -1 are created but not returned).
using CustomControlFactory = std::function<QWidget*(const ControlTemplate&, QWidget* parent)>;
QHash<int, QWidget*> BuildDialogControls(QWidget* parent, const DialogTemplate& layout,
                                         const CustomControlFactory& factory = {});

// The string table: the text with this id, or an empty string.
QString ResourceString(int id);

// The icon with this resource id (":/icons/<id>.svg"), or a null icon.
QIcon ResourceIcon(int id);
// A named image (":/icons/<name>.svg"): tab images and the like.
QIcon ResourceImage(const QString& name);

} // namespace kettrik

namespace kettrik {

// An up-down control attached to an edit box: two small arrow buttons. The owner decides
// what a step does.
class UpDownControl : public QWidget {
    Q_OBJECT
public:
    explicit UpDownControl(QWidget* parent = nullptr);
signals:
    void stepped(int delta); // +1 for the up arrow, -1 for the down arrow
};

} // namespace kettrik
