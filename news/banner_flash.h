// The banner across the top of the main window: a stack of movie layers. Layer 0 plays the
// program's own banner movie; LoadMovie puts a movie fetched from the network into any layer
// (the news goes into layer 1) and the empty address empties a layer. Movies send commands
// to the program through FSCommand.
//
// The right mouse button reaches the movies as the left one, and the variable "Button" says
// which was used ("L" or "R"), so the banner has no context menu and movies may still tell.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include <QHash>
#include <QTimer>
#include <QWidget>

#include "news/banner_movie.h"
#include "news/movie_loader.h"

namespace kettrik {

class CBannerFlash : public QWidget, private MovieHost {
    Q_OBJECT
public:
    explicit CBannerFlash(QWidget* parent = nullptr);
    ~CBannerFlash() override;

    // Fetches the movie at an http or https address into a layer, replacing what is there once
    // it has arrived; "" unloads the layer (and ends a fetch for it) at once.
    void LoadMovie(int layer, const QString& address);
    void SetVariable(const QString& name, const QString& value);
    QString GetVariable(const QString& name) const { return variables_.value(name); }

    // Puts a movie into a layer directly (the built-in banner is put into layer 0 like this).
    void SetMovie(int layer, std::unique_ptr<BannerMovie> movie);
    BannerMovie* Movie(int layer) const;
    bool IsLoading(int layer) const { return loader_->IsLoading(layer); }

    void SetLoadLimits(const MovieLoadLimits& limits) { loader_->SetLimits(limits); }
    // What opens a web page for the movies' buttons; nothing opens while it is empty.
    void SetPageOpener(std::function<void(const QString& address)> opener);

signals:
    void FSCommand(const QString& command, const QString& arguments);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void ConnectSignals();
    void OnLoaded(int layer, const QByteArray& body);
    void OnFrame();
    void Unload(int layer);
    void DeliverMouse(MovieMouse kind, QMouseEvent* event);
    QTransform StageTransform() const;

    void SendCommand(const QString& command, const QString& arguments) override;
    void OpenAddress(const QString& address) override;
    QString Variable(const QString& name) const override { return GetVariable(name); }

    std::map<int, std::unique_ptr<BannerMovie>> layers_;
    // Movies taken out while they may still be running a handler; freed on the next turn.
    std::vector<std::unique_ptr<BannerMovie>> retired_;
    QHash<QString, QString> variables_;
    MovieLoader* loader_;
    QTimer frameTimer_;
    std::function<void(const QString&)> opener_;
};

} // namespace kettrik
