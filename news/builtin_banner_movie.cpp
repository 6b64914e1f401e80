#include "news/builtin_banner_movie.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "news/web_addresses.h"
#include "resources/resource_loader.h"

namespace kettrik {

namespace {

constexpr int LastFrame = BuiltinBannerMovie::FrameCount - 1;
constexpr int ApplicationIcon = 128;

// The application icon's colours.
const QColor DeepBlue(0x0b, 0x2f, 0x6b);
const QColor ShellBlue(0x17, 0x4f, 0xa8);
const QColor BrightBlue(0x3a, 0x84, 0xe6);
const QColor HeadWhite(0xee, 0xf4, 0xfc);
const QColor PaleBlue(0xcf, 0xe0, 0xfa);
const QColor Spark(0xff, 0xb3, 0x00);

const QString Name = QStringLiteral("Kettrik Orvalene");

// 0 before `from`, 1 after `to`, eased in between.
double Progress(int frame, int from, int to) {
    const double t = std::clamp(double(frame - from) / double(to - from), 0.0, 1.0);
    return 1.0 - (1.0 - t) * (1.0 - t);
}

QColor Faded(QColor colour, double opacity) {
    colour.setAlphaF(static_cast<float>(std::clamp(opacity, 0.0, 1.0)));
    return colour;
}

void PaintBackground(QPainter& painter) {
    QLinearGradient sky(0, 0, 0, MovieStage.height());
    sky.setColorAt(0, ShellBlue);
    sky.setColorAt(1, DeepBlue);
    painter.fillRect(QRectF(QPointF(0, 0), MovieStage), sky);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Faded(BrightBlue, 0.18));
    for (int i = 0; i < 5; ++i) {
        const double x = 250.0 + 90.0 * i;
        QPainterPath stripe;
        stripe.moveTo(x, 0);
        stripe.lineTo(x + 40, 0);
        stripe.lineTo(x - 10, MovieStage.height());
        stripe.lineTo(x - 50, MovieStage.height());
        painter.drawPath(stripe);
    }
}

// The drum falls into place by frame 10; rings spread from its head after it lands.
void PaintDrum(QPainter& painter, int frame) {
    const double drop = Progress(frame, 0, 10);
    const double y = -70.0 + drop * 80.0;
    for (int ring = 0; ring < 3; ++ring) {
        const int start = 10 + ring * 4;
        if (frame < start || frame > start + 18) {
            continue;
        }
        const double grow = Progress(frame, start, start + 18);
        painter.setPen(QPen(Faded(PaleBlue, 0.8 * (1.0 - grow)), 2.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QPointF(46, 32), 30 + 60 * grow, 10 + 22 * grow);
    }
    ResourceIcon(ApplicationIcon).paint(&painter, QRect(14, int(y), 64, 64));
}

// The name appears letter by letter from frame 12 to 36.
void PaintName(QPainter& painter, int frame) {
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(30);
    font.setBold(true);
    painter.setFont(font);
    const double shown = Progress(frame, 12, 36) * static_cast<double>(Name.size());
    const int whole = int(shown);
    const QPointF origin(96, 40);
    painter.setPen(Faded(DeepBlue, 0.6));
    painter.drawText(origin + QPointF(2, 2), Name.left(whole));
    painter.setPen(HeadWhite);
    painter.drawText(origin, Name.left(whole));
    if (whole < Name.size()) {
        const double x = origin.x() + QFontMetricsF(font).horizontalAdvance(Name.left(whole));
        painter.setPen(Faded(HeadWhite, shown - whole));
        painter.drawText(QPointF(x, origin.y()), Name.mid(whole, 1));
    }
}

// A decaying drum hit drawn from left to right, frames 20 to 48, with the tagline after it.
void PaintSound(QPainter& painter, int frame) {
    const double drawn = Progress(frame, 20, 48);
    if (drawn > 0) {
        QPainterPath wave;
        const double left = 96, width = 340, middle = 62;
        wave.moveTo(left, middle);
        const int steps = int(drawn * 340);
        for (int i = 0; i <= steps; ++i) {
            const double t = i / 340.0;
            const double swing =
                std::exp(-4.5 * t) * std::sin(2 * std::numbers::pi * 14 * t * (1.0 - 0.45 * t));
            wave.lineTo(left + t * width, middle - 13 * swing);
        }
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(PaleBlue, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(wave);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Spark);
        painter.drawEllipse(wave.currentPosition(), 2.5, 2.5);
    }
    const double tagline = Progress(frame, 40, 52);
    if (tagline > 0) {
        QFont font(QStringLiteral("Sans Serif"));
        font.setPixelSize(11);
        font.setItalic(true);
        painter.setFont(font);
        painter.setPen(Faded(PaleBlue, tagline));
        painter.drawText(QPointF(336, 78), QStringLiteral("drum & percussion synthesizer"));
    }
}

void PaintButtons(QPainter& painter, int frame, const BuiltinBannerMovie::Button (&buttons)[2]) {
    const double shown = Progress(frame, 48, LastFrame);
    if (shown <= 0) {
        return;
    }
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(12);
    font.setBold(true);
    painter.setFont(font);
    for (const auto& button : buttons) {
        const QRectF area = button.Area.translated(24.0 * (1.0 - shown), 0);
        painter.setPen(QPen(Faded(PaleBlue, shown), 1.2));
        painter.setBrush(Faded(DeepBlue, 0.85 * shown));
        painter.drawRoundedRect(area, 8, 8);
        painter.setPen(Faded(frame == LastFrame ? Spark : HeadWhite, shown));
        painter.drawText(area, Qt::AlignCenter, button.Label);
    }
}

} // namespace

BuiltinBannerMovie::BuiltinBannerMovie()
    : buttons_{{QRectF(488, 12, 168, 26), QStringLiteral("www.kettrik.example"),
                QString::fromLatin1(web::MakerSite)},
               {QRectF(488, 46, 168, 26), QStringLiteral("Music by Quorr"),
                QString::fromLatin1(web::MusicSite)}} {}

void BuiltinBannerMovie::GotoFrame(int frame) {
    frame_ = std::clamp(frame, 0, LastFrame);
}

void BuiltinBannerMovie::Start(MovieHost& /*host*/) {
    frame_ = 0;
    started_ = false;
}

// The first tick enters the first frame, which tells the host how to present the movie; the
// host takes that as commands like any other.
bool BuiltinBannerMovie::Tick(MovieHost& host) {
    if (!started_) {
        started_ = true;
        EnterFrame(host);
        return true;
    }
    if (frame_ >= LastFrame) {
        return false;
    }
    ++frame_;
    EnterFrame(host);
    return frame_ < LastFrame;
}

void BuiltinBannerMovie::EnterFrame(MovieHost& host) {
    if (frame_ == 0) {
        host.SendCommand(QStringLiteral("showmenu"), QStringLiteral("false"));
        host.SendCommand(QStringLiteral("allowscale"), QStringLiteral("false"));
    }
}

void BuiltinBannerMovie::Paint(QPainter& painter) const {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    PaintBackground(painter);
    PaintSound(painter, frame_);
    PaintDrum(painter, frame_);
    PaintName(painter, frame_);
    PaintButtons(painter, frame_, buttons_);
}

const BuiltinBannerMovie::Button* BuiltinBannerMovie::ButtonOf(QPointF point) const {
    if (frame_ != LastFrame) {
        return nullptr;
    }
    for (const Button& button : buttons_) {
        if (button.Area.contains(point)) {
            return &button;
        }
    }
    return nullptr;
}

MouseAnswer BuiltinBannerMovie::Mouse(MovieHost& host, MovieMouse kind, Qt::MouseButton button,
                                      QPointF point) {
    if (kind == MovieMouse::Release && button == Qt::LeftButton) {
        if (const Button* pressed = ButtonOf(point)) {
            host.OpenAddress(pressed->Address);
        }
    }
    return MouseAnswer::Handled; // the banner covers its whole stage
}

} // namespace kettrik
