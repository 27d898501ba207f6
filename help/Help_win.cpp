#include "help/Help.h"

#include "app/ProgramPaths.h"
#include "app/ProgramPaths_win.h"
#include "app/WinHandles.h"
#include "lang/Localization.h"
#include "res/resource.h"

#include <string>

namespace {

using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

constexpr char kViewerLibrary[] = "HHCtrl.ocx";
constexpr char kTourFileName[] = "Tour.chm";
constexpr char kTopicSeparator[] = "::html/";
constexpr UINT kDisplayTopic = 0;
constexpr UINT kCloseAllWindows = 0x12;  // HH_CLOSE_ALL

ScopedModule g_helpLibrary;
HtmlHelpFunction g_htmlHelpEntry = nullptr;
// Whether the viewer was asked for a window this run; only then is there one to close.
bool g_viewerAsked = false;
std::string g_helpFilePath;
std::string g_tourFilePath;

void OpenTopic(const std::string& file, const char* topic) {
    if (!g_htmlHelpEntry) return;
    const std::string target = file + kTopicSeparator + topic;
    g_viewerAsked = true;
    g_htmlHelpEntry(nullptr, target.c_str(), kDisplayTopic, 0);
}

}  // namespace

void HelpInit() {
    g_helpLibrary.Reset(LoadLibraryA(kViewerLibrary));
    g_htmlHelpEntry = g_helpLibrary ? reinterpret_cast<HtmlHelpFunction>(reinterpret_cast<void*>(
                                          GetProcAddress(g_helpLibrary.Get(), "HtmlHelpA")))
                                    : nullptr;
    char programPath[MAX_PATH] = {};
    ReadProgramPath(programPath, sizeof(programPath));
    const std::string folder = ProgramFolder(programPath);
    char helpFileName[256];
    LocLoadStringA(IDS_HELP_FILE, helpFileName, ARRAYSIZE(helpFileName));
    g_helpFilePath = folder + helpFileName;
    g_tourFilePath = folder + kTourFileName;
}

// The viewer's windows run on the library's code: every one is closed before it is freed.
void HelpRelease() {
    if (g_htmlHelpEntry && g_viewerAsked) g_htmlHelpEntry(nullptr, nullptr, kCloseAllWindows, 0);
    g_viewerAsked = false;
    g_htmlHelpEntry = nullptr;
    g_helpLibrary.Reset();
}

void ShowHelpTopic(HWND, const char* topic) { OpenTopic(g_helpFilePath, topic); }

void ShowTour() { OpenTopic(g_tourFilePath, kIntroTopic); }

const char* HelpFilePath() { return g_helpFilePath.c_str(); }
