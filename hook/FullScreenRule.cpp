#include "hook/FullScreenRule.h"

namespace {

bool IsEmpty(const ScreenRect& r) { return r.right <= r.left || r.bottom <= r.top; }

bool Covers(const ScreenRect& outer, const ScreenRect& inner) {
    return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
           outer.bottom >= inner.bottom;
}

}  // namespace

bool IsFullScreen(const ForegroundWindowFacts& facts) {
    if (facts.isShell || facts.maximisedWithCaption || IsEmpty(facts.monitor)) return false;
    return Covers(facts.window, facts.monitor);
}
