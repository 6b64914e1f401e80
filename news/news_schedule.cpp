#include "news/news_schedule.h"

#include "model/number_text.h"
#include "platform/settings_store.h"

namespace kettrik {

std::int64_t NewsInterval(std::int32_t frequency) {
    constexpr std::int64_t Day = 86400;
    switch (frequency) {
    case 1:
        return Day;
    case 2:
        return 5 * Day;
    case 3:
        return 10 * Day;
    case 4:
        return 30 * Day;
    case 5:
        return 45 * Day;
    case 6:
        return 60 * Day;
    case 7:
        return 90 * Day;
    default:
        return 0;
    }
}

void CheckNewsSchedule(SettingsStore& settings, std::int64_t now,
                       const std::function<bool()>& askUser,
                       const std::function<void()>& getNewsNow) {
    const std::int32_t automatic = settings.GetInt(settings::Kettrik, settings::NewsAuto, 1);
    const std::int32_t frequency = settings.GetInt(settings::Kettrik, settings::NewsFrequency, 1);
    const std::int64_t last = settings.GetInt(settings::Kettrik, settings::LastNewsDate, 0);
    // A date in the future (the clock was turned back) gives a negative elapsed time: no
    // scheduled news until the clock has passed it by the interval.
    const std::int64_t elapsed = now - last;
    if (frequency >= 1 && frequency <= 7 && elapsed < NewsInterval(frequency)) {
        return;
    }
    if (frequency > 0 && automatic == 0 && !(askUser && askUser())) {
        return;
    }
    settings.WriteString(settings::Kettrik, settings::LastNewsDate, FormatInt(now));
    if (getNewsNow) {
        getNewsNow();
    }
}

} // namespace kettrik
