// What plays in a layer of the banner: a movie draws itself on a stage of fixed size, may
// advance frames, and answers the mouse. What it may do to the world goes through its host.
#pragma once

#include <QPointF>
#include <QSizeF>
#include <QString>
#include <QtCore/qnamespace.h>

class QPainter;

namespace kettrik {

// The stage every movie is drawn on; the banner scales it into its own size, keeping the
// proportions (the rest is filled with the banner's background).
inline constexpr QSizeF MovieStage{672.0, 84.0};
inline constexpr int MovieFramesPerSecond = 12;

class MovieHost {
public:
    // A command for the program (the banner's FSCommand).
    virtual void SendCommand(const QString& command, const QString& arguments) = 0;
    // Opens a web page.
    virtual void OpenAddress(const QString& address) = 0;
    // A variable set on the banner ("Button"), or empty.
    virtual QString Variable(const QString& name) const = 0;

protected:
    ~MovieHost() = default;
};

enum class MovieMouse { Press, Release, DoubleClick };

enum class MouseAnswer {
    PassOn,  // nothing of this movie is there: the layer below gets the mouse
    Handled, // the movie took it
    Unload,  // the movie took it and asks to be removed from its layer
};

class BannerMovie {
public:
    virtual ~BannerMovie() = default;

    // Called once when the movie is put into its layer.
    virtual void Start(MovieHost& host) = 0;
    // Advances one frame; false when the movie has nothing more to play.
    virtual bool Tick(MovieHost& host) = 0;
    // Draws the current frame in stage coordinates.
    virtual void Paint(QPainter& painter) const = 0;
    // True when a button is at this stage point (the pointer becomes a hand).
    virtual bool ButtonAt(QPointF point) const = 0;
    virtual MouseAnswer Mouse(MovieHost& host, MovieMouse kind, Qt::MouseButton button,
                              QPointF point) = 0;
};

} // namespace kettrik
