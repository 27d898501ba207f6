#include "hook/QuietRules.h"

QuietReason QuietReasonFor(bool muted, const QuietSwitches& switches, const QuietFacts& facts) {
    if (muted) return QuietReason::Muted;
    if (switches.fullScreen && facts.fullScreen) return QuietReason::FullScreen;
    if (facts.listedProgram) return QuietReason::Program;
    if (switches.passwords && facts.passwordFocus) return QuietReason::Password;
    return QuietReason::None;
}
