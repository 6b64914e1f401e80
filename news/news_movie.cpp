#include "news/news_movie.h"

#include <QFontMetricsF>
#include <QPainter>

namespace kettrik {

namespace {

constexpr int SlideFrames = 6;

const QColor DeepBlue(0x0b, 0x2f, 0x6b);
const QColor Paper(0xee, 0xf4, 0xfc);
const QColor Ink(0x12, 0x3f, 0x8c);

QString Text(const std::string& utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

void Send(MovieHost& host, const std::vector<NewsCommand>& commands) {
    const QString button = host.Variable(QStringLiteral("Button"));
    for (const NewsCommand& command : commands) {
        host.SendCommand(Text(command.Command),
                         Text(command.Arguments).replace(QStringLiteral("{Button}"), button));
    }
}

} // namespace

NewsMovie::NewsMovie(NewsDocument news) : news_(std::move(news)) {}

QRectF NewsMovie::CloseBox() {
    return {MovieStage.width() - 22, 4, 16, 16};
}

void NewsMovie::Start(MovieHost& host) {
    frame_ = 0;
    Send(host, news_.OnLoad);
}

bool NewsMovie::Tick(MovieHost& /*host*/) {
    frame_ = std::min(frame_ + 1, SlideFrames);
    return frame_ < SlideFrames;
}

void NewsMovie::Paint(QPainter& painter) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const double slide = 1.0 - double(frame_) / SlideFrames;
    painter.translate(0, -MovieStage.height() * slide * slide);

    const QRectF panel = QRectF(QPointF(0, 0), MovieStage).adjusted(1, 1, -1, -1);
    painter.setPen(QPen(DeepBlue, 2));
    painter.setBrush(Paper);
    painter.drawRoundedRect(panel, 6, 6);

    const double left = 14, right = MovieStage.width() - 30;
    QFont title(QStringLiteral("Sans Serif"));
    title.setPixelSize(16);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(DeepBlue);
    painter.drawText(QPointF(left, 22), QFontMetricsF(title).elidedText(
                                            Text(news_.Title), Qt::ElideRight, right - left));
    QFont body(QStringLiteral("Sans Serif"));
    body.setPixelSize(12);
    painter.setFont(body);
    painter.setPen(Ink);
    const QFontMetricsF metrics(body);
    double y = 40;
    for (const std::string& line : news_.Text) {
        painter.drawText(QPointF(left, y),
                         metrics.elidedText(Text(line), Qt::ElideRight, right - left));
        y += 14;
    }

    const QRectF close = CloseBox();
    painter.setPen(QPen(DeepBlue, 1.8, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(close.topLeft() + QPointF(4, 4), close.bottomRight() - QPointF(4, 4));
    painter.drawLine(close.topRight() + QPointF(-4, 4), close.bottomLeft() + QPointF(4, -4));
    painter.restore();
}

bool NewsMovie::ButtonAt(QPointF point) const {
    return CloseBox().contains(point) || !news_.Link.empty() || !news_.OnClick.empty();
}

MouseAnswer NewsMovie::Mouse(MovieHost& host, MovieMouse kind, Qt::MouseButton button,
                             QPointF point) {
    if (kind != MovieMouse::Release || button != Qt::LeftButton) {
        return MouseAnswer::Handled;
    }
    if (CloseBox().contains(point)) {
        return MouseAnswer::Unload;
    }
    Send(host, news_.OnClick);
    if (!news_.Link.empty()) {
        host.OpenAddress(Text(news_.Link));
    }
    return MouseAnswer::Handled;
}

} // namespace kettrik
