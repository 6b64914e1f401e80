#include "resources/resource_loader.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace kettrik {

namespace {

QJsonObject ReadJson(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QJsonDocument::fromJson(file.readAll()).object();
}

const QJsonObject& Strings() {
    static const QJsonObject strings = ReadJson(QStringLiteral(":/strings.json"));
    return strings;
}

Qt::Alignment Alignment(const QString& align) {
    if (align == QLatin1String("right")) {
        return Qt::AlignRight | Qt::AlignVCenter;
    }
    if (align == QLatin1String("center")) {
        return Qt::AlignHCenter | Qt::AlignVCenter;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

QWidget* MakeControl(const ControlTemplate& c, QWidget* parent, QButtonGroup*& radioGroup) {
    const QString& kind = c.Kind;
    if (kind == QLatin1String("label")) {
        auto* label = new QLabel(c.Text, parent);
        label->setAlignment(Alignment(c.Align));
        return label;
    }
    if (kind == QLatin1String("button") || kind == QLatin1String("iconbutton") ||
        kind == QLatin1String("pushradio") || kind == QLatin1String("pushcheck")) {
        auto* button = new QPushButton(parent);
        if (c.Icon != 0) {
            button->setIcon(ResourceIcon(c.Icon));
            button->setAccessibleName(c.Text);
        } else {
            button->setText(c.Text);
        }
        button->setAutoDefault(false);
        button->setDefault(c.Default);
        if (kind == QLatin1String("pushradio")) {
            button->setCheckable(true);
            if (c.Group || radioGroup == nullptr) {
                radioGroup = new QButtonGroup(parent);
                radioGroup->setExclusive(true);
            }
            radioGroup->addButton(button, c.Id);
        } else if (kind == QLatin1String("pushcheck")) {
            button->setCheckable(true);
        }
        return button;
    }
    if (kind == QLatin1String("checkbox")) {
        return new QCheckBox(c.Text, parent);
    }
    if (kind == QLatin1String("tabs")) {
        auto* tabs = new QTabBar(parent);
        tabs->setExpanding(false);
        tabs->setUsesScrollButtons(c.Scroll);
        tabs->setDrawBase(false);
        return tabs;
    }
    if (kind == QLatin1String("edit")) {
        if (c.Multiline) {
            auto* edit = new QPlainTextEdit(parent);
            edit->setReadOnly(c.ReadOnly);
            edit->setVerticalScrollBarPolicy(c.VScroll ? Qt::ScrollBarAsNeeded
                                                       : Qt::ScrollBarAlwaysOff);
            edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            return edit;
        }
        auto* edit = new QLineEdit(c.Text, parent);
        edit->setReadOnly(c.ReadOnly);
        edit->setAlignment(Alignment(c.Align));
        return edit;
    }
    if (kind == QLatin1String("slider")) {
        auto* slider = new QSlider(Qt::Horizontal, parent);
        slider->setRange(c.Min, c.Max);
        slider->setTickPosition(QSlider::NoTicks);
        return slider;
    }
    if (kind == QLatin1String("combo")) {
        return new QComboBox(parent);
    }
    if (kind == QLatin1String("groupbox")) {
        return new QGroupBox(c.Text, parent);
    }
    if (kind == QLatin1String("icon")) {
        auto* label = new QLabel(parent);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        if (c.Icon != 0) {
            label->setPixmap(ResourceIcon(c.Icon).pixmap(32, 32));
        }
        return label;
    }
    if (kind == QLatin1String("spin")) {
        return new UpDownControl(parent);
    }
    if (kind == QLatin1String("whitebox")) {
        auto* box = new QFrame(parent);
        box->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        box->setAutoFillBackground(true);
        QPalette palette = box->palette();
        palette.setColor(QPalette::Window, Qt::white);
        box->setPalette(palette);
        return box;
    }
    if (kind == QLatin1String("frame") || kind == QLatin1String("banner") ||
        kind == QLatin1String("custom")) {
        auto* frame = new QFrame(parent);
        if (c.Sunken) {
            frame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        }
        return frame;
    }
    return nullptr;
}

} // namespace

DialogTemplate LoadDialogTemplate(int id) {
    const QJsonObject json = ReadJson(QStringLiteral(":/dialogs/%1.json").arg(id));
    DialogTemplate layout;
    if (json.isEmpty()) {
        return layout;
    }
    layout.Id = json.value(QLatin1String("id")).toInt();
    layout.Width = json.value(QLatin1String("width")).toInt();
    layout.Height = json.value(QLatin1String("height")).toInt();
    layout.Caption = json.value(QLatin1String("caption")).toString();
    layout.Child = json.value(QLatin1String("child")).toBool();
    for (const QJsonValue& value : json.value(QLatin1String("controls")).toArray()) {
        const QJsonObject o = value.toObject();
        ControlTemplate c;
        c.Id = o.value(QLatin1String("id")).toInt(-1);
        c.Kind = o.value(QLatin1String("kind")).toString();
        c.Text = o.value(QLatin1String("text")).toString();
        c.Class = o.value(QLatin1String("class")).toString();
        c.Align = o.value(QLatin1String("align")).toString();
        c.X = o.value(QLatin1String("x")).toInt();
        c.Y = o.value(QLatin1String("y")).toInt();
        c.W = o.value(QLatin1String("w")).toInt();
        c.H = o.value(QLatin1String("h")).toInt();
        c.Visible = o.value(QLatin1String("visible")).toBool(true);
        c.Group = o.value(QLatin1String("group")).toBool();
        c.Default = o.value(QLatin1String("default")).toBool();
        c.Multiline = o.value(QLatin1String("multiline")).toBool();
        c.ReadOnly = o.value(QLatin1String("readonly")).toBool();
        c.VScroll = o.value(QLatin1String("vscroll")).toBool();
        c.HScroll = o.value(QLatin1String("hscroll")).toBool();
        c.Sunken = o.value(QLatin1String("sunken")).toBool();
        c.Scroll = o.value(QLatin1String("scroll")).toBool();
        c.NoTip = o.value(QLatin1String("notip")).toBool();
        c.Min = o.value(QLatin1String("min")).toInt();
        c.Max = o.value(QLatin1String("max")).toInt();
        c.Icon = o.value(QLatin1String("icon")).toInt();
        c.Buddy = o.value(QLatin1String("buddy")).toInt();
        layout.Controls.push_back(c);
    }
    return layout;
}

QFont DialogFont() {
    QFont font = QApplication::font();
    const qreal points = font.pointSizeF();
    if (points > 9.0) {
        font.setPointSizeF(9.0);
    } else if (points > 0 && points < 8.0) {
        font.setPointSizeF(8.0);
    }
    return font;
}

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    // The average width of the 52 letters, rounded as dialog managers do.
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseX_ = std::max(1, (letters / 26 + 1) / 2);
    baseY_ = std::max(1, metrics.height());
}

int DialogUnits::X(int dlu) const {
    return (dlu * baseX_ + 2) / 4;
}

int DialogUnits::Y(int dlu) const {
    return (dlu * baseY_ + 4) / 8;
}

QRect DialogUnits::Rect(int x, int y, int w, int h) const {
    return {X(x), Y(y), X(w), Y(h)};
}

QHash<int, QWidget*> BuildDialogControls(QWidget* parent, const DialogTemplate& layout,
                                         const CustomControlFactory& factory) {
    QHash<int, QWidget*> byId;
    const DialogUnits units(parent->font());
    QButtonGroup* radioGroup = nullptr;
    QVector<QWidget*> created;
    for (const ControlTemplate& c : layout.Controls) {
        QWidget* widget = factory ? factory(c, parent) : nullptr;
        if (widget == nullptr) {
            widget = MakeControl(c, parent, radioGroup);
        }
        if (widget == nullptr) {
            continue;
        }
        if (c.Kind != QLatin1String("pushradio")) {
            radioGroup = c.Kind == QLatin1String("label") ? radioGroup : nullptr;
        }
        QRect rect = units.Rect(c);
        if (c.Kind == QLatin1String("combo")) {
            // The template's height includes the drop-down list; the box itself is one line.
            rect.setHeight(std::max(units.Y(12), widget->sizeHint().height()));
        }
        widget->setGeometry(rect);
        widget->setVisible(c.Visible);
        if (c.Id >= 0) {
            widget->setObjectName(QStringLiteral("c%1").arg(c.Id));
            byId.insert(c.Id, widget);
            const QString tip = ResourceString(c.Id);
            const bool passive = c.Kind == QLatin1String("label") ||
                                 c.Kind == QLatin1String("icon") ||
                                 c.Kind == QLatin1String("frame");
            if (!tip.isEmpty() && !passive && !c.NoTip) {
                widget->setToolTip(tip);
            }
        }
        created.push_back(widget);
    }
    // Template order is the tab order, and earlier controls lie on top of later ones.
    for (int i = static_cast<int>(created.size()) - 1; i >= 0; --i) {
        created[i]->raise();
    }
    for (int i = 1; i < static_cast<int>(created.size()); ++i) {
        QWidget::setTabOrder(created[i - 1], created[i]);
    }
    return byId;
}

QString ResourceString(int id) {
    return Strings().value(QString::number(id)).toString();
}

QIcon ResourceIcon(int id) {
    return ResourceImage(QString::number(id));
}

QIcon ResourceImage(const QString& name) {
    const QString path = QStringLiteral(":/icons/%1.svg").arg(name);
    return QFile::exists(path) ? QIcon(path) : QIcon();
}

UpDownControl::UpDownControl(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const auto& [arrow, delta] : {std::pair{Qt::UpArrow, 1}, std::pair{Qt::DownArrow, -1}}) {
        auto* button = new QToolButton(this);
        button->setArrowType(arrow);
        button->setAutoRepeat(true);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        layout->addWidget(button);
        connect(button, &QToolButton::clicked, this, [this, d = delta] { emit stepped(d); });
    }
}

} // namespace kettrik
