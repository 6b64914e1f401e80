#include "news/get_news.h"

#include "news/banner_commands.h"
#include "news/banner_flash.h"

namespace kettrik {

void GetNewsNow(CBannerFlash& banner, const SettingsStore& settings) {
    banner.LoadMovie(NewsLayer, QString());
    banner.LoadMovie(NewsLayer, QString::fromStdString(NewsAddress(settings)));
}

} // namespace kettrik
