#include "tray/MenuText.h"

#include <gtest/gtest.h>

namespace {

TEST(MenuText, AmpersandsAreDoubledAndReadBackSingle) {
    const struct {
        const char* name;
        const char* text;
    } cases[] = {
        {"Classic", "Classic"},     {"Rock & Roll", "Rock && Roll"}, {"&", "&&"},
        {"&&", "&&&&"},             {"&Start", "&&Start"},           {"End&", "End&&"},
        {"a&&&b", "a&&&&&&b"},      {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MenuTextOfName(c.name), c.text) << c.name;
        EXPECT_EQ(NameOfMenuText(c.text), c.name) << c.text;
    }
}

TEST(MenuText, ALoneAmpersandIsKeptAsItStands) {
    EXPECT_EQ(NameOfMenuText("A&B"), "A&B");
    EXPECT_EQ(NameOfMenuText("A&&&B"), "A&&B");
    EXPECT_EQ(NameOfMenuText("Tail&"), "Tail&");
}

}  // namespace
