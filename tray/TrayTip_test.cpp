#include "tray/TrayTip.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(TrayTip, LongTipsAreCutAtOneHundredTwentySixCharacters) {
    const size_t lengths[] = {0, 1, 6, 125, 126, 127, 128, 300};
    for (size_t length : lengths) {
        std::string tip(length, 'T');
        char field[kTrayTipFieldSize];
        std::memset(field, '#', sizeof(field));
        CopyTrayTip(field, tip.c_str());
        const size_t shown = length < kTrayTipMaxChars ? length : kTrayTipMaxChars;
        EXPECT_EQ(std::strlen(field), shown) << length;
        EXPECT_EQ(std::string(field), tip.substr(0, shown)) << length;
    }
}

}  // namespace
