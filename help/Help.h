#pragma once
// The compiled help and the tour, opened through the platform's help viewer when it is
// present; without it every request does nothing.

#include <windows.h>

// The help file's topics: its introduction, and the page about the tray menu.
constexpr char kIntroTopic[] = "intro.htm";
constexpr char kMenuTopic[] = "menu.htm";

// Loads the viewer and works out the help and tour file paths beside the program.
void HelpInit();
// Closes every window the viewer opened, then releases it if it was loaded.
void HelpRelease();
// Opens the help file at topic; the viewer opens without an owner window, so window is unused.
void ShowHelpTopic(HWND window, const char* topic);
// Opens the tour file at its first topic.
void ShowTour();
// The help file path: the program's folder and string 113 ("Help.chm").
const char* HelpFilePath();
