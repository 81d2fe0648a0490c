#pragma once

// The framework's standard command, indicator and string ids. They keep the values the
// menus, tool bar and stored settings use; the application may name them again in its
// own resource header, so they live in a namespace of their own.
namespace StdId
{
inline constexpr int FileNew = 57600;
inline constexpr int FileOpen = 57601;
inline constexpr int FileClose = 57602;
inline constexpr int FileSave = 57603;
inline constexpr int FileSaveAs = 57604;
inline constexpr int FilePrintSetup = 57606;
inline constexpr int FilePrint = 57607;
inline constexpr int FilePrintDirect = 57608;
inline constexpr int FilePrintPreview = 57609;
inline constexpr int FileMruFirst = 57616; // also the "Recent File" placeholder of the menu
inline constexpr int FileMruLast = 57631;
inline constexpr int WindowNew = 57648;
inline constexpr int WindowArrange = 57649;
inline constexpr int WindowCascade = 57650;
inline constexpr int WindowTileHorz = 57651;
inline constexpr int WindowTileVert = 57652;
inline constexpr int WindowSplit = 57653;
inline constexpr int AppExit = 57665;
inline constexpr int NextPane = 57680;
inline constexpr int PrevPane = 57681;
inline constexpr int ViewToolbar = 59392;
inline constexpr int ViewStatusBar = 59393;
inline constexpr int IndicatorCaps = 59137;
inline constexpr int IndicatorNum = 59138;
inline constexpr int IndicatorScrl = 59139;
} // namespace StdId
