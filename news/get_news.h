// "Get News Now": the news replaces whatever news the banner shows.
#pragma once

namespace kettrik {

class CBannerFlash;
class SettingsStore;

// The layer the news is shown in, over the banner movie in layer 0.
inline constexpr int NewsLayer = 1;

// Empties the news layer, then loads the news address (NewsAddress) into it. Neither waits
// for the news nor checks it; a failed fetch leaves the layer empty.
void GetNewsNow(CBannerFlash& banner, const SettingsStore& settings);

} // namespace kettrik
