#pragma once
// The names by which the tools find Tapvox's main window and talk to it. Written out here rather
// than taken from the program's headers: a tool that finds nothing then shows a wrong name in the
// program.

constexpr char kTapvoxMainWindowClass[] = "TVX_SOUNDPRG_MAINWND";
constexpr char kTapvoxHookMessageName[] = "NEW_HOOK_SYSTEM";
constexpr char kTapvoxHelperMessageName[] = "M_TapvoxHkPrcMsg";
