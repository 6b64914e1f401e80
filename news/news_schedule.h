// When news is fetched without being asked for: once per start, when enough time has passed
// since the last scheduled fetch, after asking the user unless news is automatic.
#pragma once

#include <cstdint>
#include <functional>

namespace kettrik {

class SettingsStore;

// Minimum seconds between scheduled fetches for a stored NewsFrequency, or 0 when news is due
// at every start (0, below 0, above 7).
std::int64_t NewsInterval(std::int32_t frequency);

// Runs the schedule at time now (seconds since 1970, UTC). askUser shows the question and
// says whether the answer was Yes; getNewsNow loads the news.
void CheckNewsSchedule(SettingsStore& settings, std::int64_t now,
                       const std::function<bool()>& askUser,
                       const std::function<void()>& getNewsNow);

inline constexpr const char* NewsQuestion =
    "QuorrNews engine has detected it's time for your news... want news now?";

} // namespace kettrik
