// Replies are read with the decoder Tapvox uses, which HookEvent_test pins to literal values.
#include "hookproc/HelperCommands.h"

#include "hook/HookEvent.h"

#include <gtest/gtest.h>

namespace {

uint32_t LowHalf(intptr_t reply) { return static_cast<uint32_t>(reply); }

TEST(HelperCommands, InstallRemoveAndReinstallSucceed) {
    struct Step {
        uint32_t command;
        intptr_t parameter;
        bool installedAfter;
    };
    const Step steps[] = {
        {HelperInstallHooks, 1, true},  {HelperInstallHooks, 1, true},
        {HelperInstallHooks, 0, false}, {HelperInstallHooks, 0, false},
        {HelperReinstallHooks, 0, true}, {HelperInstallHooks, 0, false},
    };
    HelperCommands helper;
    EXPECT_FALSE(helper.HooksInstalled());
    for (const Step& s : steps) {
        EXPECT_TRUE(IsHelperSuccess(LowHalf(helper.Handle(s.command, s.parameter))))
            << std::hex << s.command << " " << s.parameter;
        EXPECT_EQ(helper.HooksInstalled(), s.installedAfter);
    }
}

TEST(HelperCommands, WaitForEndKeyIsPassedBack) {
    HelperCommands helper;
    const intptr_t values[] = {0, 1, -1, 0xA70000, INTPTR_MAX};
    for (intptr_t value : values) {
        EXPECT_EQ(helper.Handle(HelperSetWaitForEndKey, value), value);
        EXPECT_EQ(helper.WaitForEndKey(), value);
    }
    EXPECT_FALSE(helper.HooksInstalled());
}

TEST(HelperCommands, AnythingElseFailsAndChangesNothing) {
    HelperCommands helper;
    ASSERT_TRUE(IsHelperSuccess(LowHalf(helper.Handle(HelperInstallHooks, 1))));
    struct Case {
        uint32_t command;
        intptr_t parameter;
    };
    const Case cases[] = {
        {HelperInstallHooks, 2}, {HelperInstallHooks, -1}, {0x3B02, 0},
        {0x3B04, 1},             {0, 0},                   {0xFFFFFFFFu, 1},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(IsHelperSuccess(LowHalf(helper.Handle(c.command, c.parameter))))
            << std::hex << c.command << " " << c.parameter;
        EXPECT_TRUE(helper.HooksInstalled());
    }
}

}  // namespace
