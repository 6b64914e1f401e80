// The banner movie the program carries: the drum drops in, the name writes itself, the drum's
// sound draws across the strip, and the last frame holds two buttons to the maker's pages.
// Plays once, 61 frames at 12 frames a second, and stays on its last frame.
#pragma once

#include <QRectF>
#include <QString>

#include "news/banner_movie.h"

namespace kettrik {

class BuiltinBannerMovie : public BannerMovie {
public:
    static constexpr int FrameCount = 61;

    struct Button {
        QRectF Area; // stage coordinates
        QString Label;
        QString Address;
    };

    BuiltinBannerMovie();

    int Frame() const { return frame_; }
    void GotoFrame(int frame);
    const Button* ButtonOf(QPointF point) const; // only on the last frame

    void Start(MovieHost& host) override;
    bool Tick(MovieHost& host) override;
    void Paint(QPainter& painter) const override;
    bool ButtonAt(QPointF point) const override { return ButtonOf(point) != nullptr; }
    MouseAnswer Mouse(MovieHost& host, MovieMouse kind, Qt::MouseButton button,
                      QPointF point) override;

private:
    void EnterFrame(MovieHost& host);

    int frame_ = 0;
    bool started_ = false;
    Button buttons_[2];
};

} // namespace kettrik
