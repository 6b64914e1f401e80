#include "news/banner_flash.h"

#include <QMouseEvent>
#include <QPainter>

#include "news/builtin_banner_movie.h"
#include "news/news_document.h"
#include "news/news_movie.h"

namespace kettrik {

namespace {

const QColor Background(0x0b, 0x2f, 0x6b);

} // namespace

CBannerFlash::CBannerFlash(QWidget* parent) : QWidget(parent), loader_(new MovieLoader(this)) {
    setMouseTracking(true);
    setContextMenuPolicy(Qt::PreventContextMenu);
    setAttribute(Qt::WA_OpaquePaintEvent);
    frameTimer_.setInterval(1000 / MovieFramesPerSecond);
    ConnectSignals();
    SetMovie(0, std::make_unique<BuiltinBannerMovie>());
}

CBannerFlash::~CBannerFlash() = default;

void CBannerFlash::ConnectSignals() {
    connect(loader_, &MovieLoader::Loaded, this, &CBannerFlash::OnLoaded);
    connect(&frameTimer_, &QTimer::timeout, this, &CBannerFlash::OnFrame);
}

void CBannerFlash::LoadMovie(int layer, const QString& address) {
    loader_->Cancel(layer);
    if (address.isEmpty()) {
        Unload(layer);
        return;
    }
    loader_->Fetch(layer, QUrl(address, QUrl::StrictMode));
}

void CBannerFlash::SetVariable(const QString& name, const QString& value) {
    variables_.insert(name, value);
}

void CBannerFlash::SetMovie(int layer, std::unique_ptr<BannerMovie> movie) {
    Unload(layer);
    BannerMovie& started = *movie;
    layers_[layer] = std::move(movie);
    started.Start(*this);
    frameTimer_.start();
    update();
}

BannerMovie* CBannerFlash::Movie(int layer) const {
    const auto found = layers_.find(layer);
    return found == layers_.end() ? nullptr : found->second.get();
}

void CBannerFlash::SetPageOpener(std::function<void(const QString&)> opener) {
    opener_ = std::move(opener);
}

void CBannerFlash::OnLoaded(int layer, const QByteArray& body) {
    std::optional<NewsDocument> news = ParseNewsDocument(
        std::string_view(body.constData(), static_cast<std::size_t>(body.size())));
    if (news) {
        SetMovie(layer, std::make_unique<NewsMovie>(std::move(*news)));
    }
}

void CBannerFlash::Unload(int layer) {
    const auto found = layers_.find(layer);
    if (found == layers_.end()) {
        return;
    }
    retired_.push_back(std::move(found->second));
    layers_.erase(found);
    QTimer::singleShot(0, this, [this] { retired_.clear(); });
    update();
}

void CBannerFlash::OnFrame() {
    bool playing = false;
    // A movie's commands may load or unload layers: walk a copy of the layer numbers.
    std::vector<int> layers;
    for (const auto& [layer, movie] : layers_) {
        layers.push_back(layer);
    }
    for (int layer : layers) {
        if (BannerMovie* movie = Movie(layer)) {
            playing = movie->Tick(*this) || playing;
        }
    }
    if (!playing) {
        frameTimer_.stop();
    }
    update();
}

QTransform CBannerFlash::StageTransform() const {
    const double scale = std::min(width() / MovieStage.width(), height() / MovieStage.height());
    QTransform transform;
    transform.translate((width() - MovieStage.width() * scale) / 2,
                        (height() - MovieStage.height() * scale) / 2);
    transform.scale(scale, scale);
    return transform;
}

void CBannerFlash::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), Background);
    painter.setTransform(StageTransform());
    painter.setClipRect(QRectF(QPointF(0, 0), MovieStage));
    for (const auto& [layer, movie] : layers_) {
        painter.save();
        movie->Paint(painter);
        painter.restore();
    }
}

void CBannerFlash::mousePressEvent(QMouseEvent* event) {
    DeliverMouse(MovieMouse::Press, event);
}

void CBannerFlash::mouseReleaseEvent(QMouseEvent* event) {
    DeliverMouse(MovieMouse::Release, event);
}

void CBannerFlash::mouseDoubleClickEvent(QMouseEvent* event) {
    DeliverMouse(MovieMouse::DoubleClick, event);
}

void CBannerFlash::mouseMoveEvent(QMouseEvent* event) {
    const QPointF point = StageTransform().inverted().map(event->position());
    bool button = false;
    for (auto it = layers_.rbegin(); it != layers_.rend() && !button; ++it) {
        button = it->second->ButtonAt(point);
    }
    setCursor(button ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

// Movies only know the left button; the variable tells them which one it really was.
void CBannerFlash::DeliverMouse(MovieMouse kind, QMouseEvent* event) {
    Qt::MouseButton button = event->button();
    if (button == Qt::LeftButton || button == Qt::RightButton) {
        SetVariable(QStringLiteral("Button"),
                    button == Qt::LeftButton ? QStringLiteral("L") : QStringLiteral("R"));
        button = Qt::LeftButton;
    }
    event->accept();
    const QPointF point = StageTransform().inverted().map(event->position());
    std::vector<int> layers;
    for (const auto& [layer, movie] : layers_) {
        layers.insert(layers.begin(), layer);
    }
    for (int layer : layers) {
        BannerMovie* movie = Movie(layer);
        if (movie == nullptr) {
            continue;
        }
        const MouseAnswer answer = movie->Mouse(*this, kind, button, point);
        if (answer == MouseAnswer::Unload && Movie(layer) == movie) {
            Unload(layer);
        }
        if (answer != MouseAnswer::PassOn) {
            break;
        }
    }
}

void CBannerFlash::SendCommand(const QString& command, const QString& arguments) {
    emit FSCommand(command, arguments);
}

void CBannerFlash::OpenAddress(const QString& address) {
    if (opener_ && IsWebAddress(address.toStdString())) {
        opener_(address);
    }
}

} // namespace kettrik
