#include "help/CDlgMain.h"

#include "app/Settings.h"
#include "app/WindowPlacement_win.h"
#include "lang/Localization.h"
#include "res/resource.h"

namespace {

constexpr int kPreferredWidthInches = 7;
constexpr int kPreferredHeightInches = 5;

}  // namespace

CDlgMain dlgMain;

CDlgMain::CDlgMain() : module_(GetModuleHandleA(nullptr)) {
    HDC screen = GetDC(nullptr);
    const int width = kPreferredWidthInches * GetDeviceCaps(screen, LOGPIXELSX);
    const int height = kPreferredHeightInches * GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    ReadWindowPlacement(width, height, kInfoWindowKey, &placement_);
}

void CDlgMain::SetOwner(HWND owner) {
    owner_ = owner;
    LocLoadStringA(IDS_TITLE, title_, ARRAYSIZE(title_));
}
