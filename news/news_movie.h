// A news item shown over the banner: its title and text on a panel that slides down over the
// whole strip. Shown, it sends its "onload" commands; clicked, its "onclick" commands (with
// "{Button}" replaced by the banner's "Button" variable) and opens its link. The small cross
// in its corner takes it away.
#pragma once

#include <QRectF>

#include "news/banner_movie.h"
#include "news/news_document.h"

namespace kettrik {

class NewsMovie : public BannerMovie {
public:
    explicit NewsMovie(NewsDocument news);

    const NewsDocument& News() const { return news_; }
    static QRectF CloseBox();

    void Start(MovieHost& host) override;
    bool Tick(MovieHost& host) override;
    void Paint(QPainter& painter) const override;
    bool ButtonAt(QPointF point) const override;
    MouseAnswer Mouse(MovieHost& host, MovieMouse kind, Qt::MouseButton button,
                      QPointF point) override;

private:
    NewsDocument news_;
    int frame_ = 0;
};

} // namespace kettrik
