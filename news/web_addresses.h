// Every outside address the program knows, in one place. The hosts are under the reserved
// ".example" domain: the program links to no real third party.
#pragma once

namespace kettrik::web {

// The maker's web site; its host name is also shown in the Web menu and on the About box.
inline constexpr const char* MakerHost = "www.kettrik.example";
inline constexpr const char* MakerSite = "http://www.kettrik.example";
// Where the music of the program's author is hosted.
inline constexpr const char* MusicSite = "http://music.quorr.example";
// The web site of the wave editor that uses the program as a plug-in.
inline constexpr const char* TuaregSite = "http://www.tuareg.example";
// The news server's default address.
inline constexpr const char* DefaultNewsUrl = "http://news.kettrik.example/kettrik/news/";

inline constexpr const char* MakerName = "Quorr";
inline constexpr const char* CopyrightNotice = "(c) Quorr, all rights reserved";

} // namespace kettrik::web
