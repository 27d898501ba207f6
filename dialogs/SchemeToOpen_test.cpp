#include "dialogs/SchemeToOpen.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(SchemeChoice, EditOpensTheRememberedNameAndEverythingElseANewScheme) {
    RememberedSchemeNames names;
    for (size_t i = 0; i < names.size(); ++i) names[i] = "Scheme" + std::to_string(i);
    const struct {
        bool edit;
        int selection;
        const char* name;
        bool isNew;
    } cases[] = {
        {true, 0, "Scheme0", false},
        {true, 24, "Scheme24", false},
        {true, 25, "NewScheme", true},   // the 26th listed name is not remembered
        {true, 29, "NewScheme", true},
        {true, -1, "NewScheme", true},   // no selection
        {false, 3, "NewScheme", true},
        {false, -1, "NewScheme", true},
    };
    for (const auto& c : cases) {
        const SchemeToOpen chosen = ChooseSchemeToOpen(c.edit, c.selection, names);
        EXPECT_EQ(chosen.name, c.name) << c.edit << ' ' << c.selection;
        EXPECT_EQ(chosen.isNew, c.isNew) << c.edit << ' ' << c.selection;
    }
}

}  // namespace
