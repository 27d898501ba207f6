// What the tray shows of Mute and the quiet rules.

#include "app/CApp.h"

#include "app/Settings_win.h"
#include "app/Trace.h"
#include "lang/Localization.h"
#include "res/resource.h"
#include "tray/CTrayIcon.h"

#include <string>

namespace {

UINT ReasonStringId(QuietReason reason) {
    switch (reason) {
    case QuietReason::Muted: return IDS_QUIET_MUTED;
    case QuietReason::FullScreen: return IDS_QUIET_FULL_SCREEN;
    case QuietReason::Program: return IDS_QUIET_PROGRAM;
    case QuietReason::Password: return IDS_QUIET_PASSWORD;
    case QuietReason::None: break;
    }
    return 0;
}

}  // namespace

QuietReason CApp::ShownQuietReason() const {
    return muted ? QuietReason::Muted : quietWatch.Reason();
}

// The tip reads "Tapvox: <why>" while keys are silent, the title alone otherwise; the icon
// turns to its quiet variant meanwhile.
void CApp::ShowQuietState() {
    TracePair(IsTraceOn(), kTraceSourceCApp, "CApp::ShowQuietState", 640);
    std::string tip = appTitle;
    if (const UINT reasonId = ReasonStringId(ShownQuietReason())) {
        char reason[128];
        LocLoadStringA(reasonId, reason, ARRAYSIZE(reason));
        tip += std::string(": ") + reason;
    }
    trayIcon.SetTip(tip.c_str());
    trayIcon.SetQuietIcon(ShownQuietReason() != QuietReason::None);
}
