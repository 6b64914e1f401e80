// The command ids of the main window's menus, accelerators and context menu.
#pragma once

namespace kettrik::command {

inline constexpr int About = 16;
inline constexpr int FileNew = 57600;
inline constexpr int FileOpen = 57601;
inline constexpr int FileSave = 57603;
inline constexpr int FileSaveAs = 32785;
inline constexpr int FileExit = 32773;
inline constexpr int EditUndo = 57643;
inline constexpr int EditCut = 57635;
inline constexpr int EditCopy = 57634;
inline constexpr int EditPaste = 57637;
inline constexpr int InsertOscillator = 32775; // "Insert Oscillator", "Insert &Before"
inline constexpr int DeleteOscillator = 32776; // "Delete Oscillator", "&Delete"
inline constexpr int InsertAfter = 32791;
inline constexpr int StateOn = 32798;
inline constexpr int StateOff = 32799;
inline constexpr int StateInaudible = 32800;
inline constexpr int SampleFrequency22050 = 32809;
inline constexpr int SampleFrequency44100 = 32810;
inline constexpr int SampleFrequency48000 = 32811;
inline constexpr int Normalize = 32807;
inline constexpr int PattermoorPage = 32808;
inline constexpr int RegisterTuaregPlugin = 32806;
inline constexpr int AuthorHomepage = 32815;
inline constexpr int AuthorMusic = 32816;
inline constexpr int AuthorSoftware = 32823;
inline constexpr int LatestVersion = 32818;
inline constexpr int SoundLibrary = 32819;
inline constexpr int Chat = 32837;
inline constexpr int GetNewsNow = 32821;
inline constexpr int NewsSettings = 32822;
inline constexpr int Documentation = 32826;

} // namespace kettrik::command
