#include "hookproc/HelperCommands.h"

#include "hook/HookEvent.h"

intptr_t HelperCommands::Handle(uint32_t command, intptr_t parameter) {
    switch (command) {
        case HelperInstallHooks:
            if (parameter != 0 && parameter != 1) return 0;
            hooksInstalled_ = parameter == 1;
            return MakeHelperReply(true);
        case HelperReinstallHooks:
            hooksInstalled_ = true;
            return MakeHelperReply(true);
        case HelperSetWaitForEndKey:
            waitForEndKey_ = parameter;
            return parameter;
        default:
            return 0;
    }
}
