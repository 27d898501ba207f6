#pragma once
// The helper's answers to Tapvox's commands (hook/HookEvent.h). The keyboard hook of
// KbdHook.dll already sees the keys of every process, 32-bit or 64-bit, so installing the
// helper's hooks is bookkeeping: reporting keys here as well would sound each key twice.

#include <cstdint>

class HelperCommands {
public:
    // The reply to one command with its parameter: success (high 16 bits 0xA7) for an
    // install, remove or re-install, the value itself for the wait-for-end-key setting, and
    // 0 for anything not understood.
    intptr_t Handle(uint32_t command, intptr_t parameter);

    bool HooksInstalled() const { return hooksInstalled_; }
    intptr_t WaitForEndKey() const { return waitForEndKey_; }

private:
    bool hooksInstalled_ = false;
    intptr_t waitForEndKey_ = 0;
};
