#include "schemes/SchemeSavePlan.h"

#include "tests/EditableKeyRow.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

TEST(SchemeSave, CopiesOnlyTheSoundsChosenInThisPass) {
    SchemeRowFiles files;
    SchemeRowFiles sources;
    files[RowOf("A")] = "a.wav";
    sources[RowOf("A")] = "D:\\sounds\\a.wav";
    files[RowOf("SPACE")] = "space.wav";
    sources[RowOf("SPACE")] = "D:\\other\\space.wav";
    files[RowOf("B")] = "kept.wav";  // from the stored scheme: named, not copied
    sources[RowOf("C")] = "D:\\x.wav";  // a source without a file name copies nothing
    SchemeSavePlan plan;
    ASSERT_TRUE(PlanSchemeSave("C:\\T\\Schemes\\", "NewScheme", files, sources, plan));
    EXPECT_EQ(plan.folder, "C:\\T\\Schemes\\NewScheme\\");
    EXPECT_EQ(plan.schemeFile, "C:\\T\\Schemes\\NewScheme\\Scheme.txt");
    const std::vector<std::pair<std::string, std::string>> copies = {
        {"D:\\sounds\\a.wav", "C:\\T\\Schemes\\NewScheme\\a.wav"},
        {"D:\\other\\space.wav", "C:\\T\\Schemes\\NewScheme\\space.wav"},
    };
    EXPECT_EQ(plan.copies, copies);
}

TEST(SchemeSave, PathsPastTheLimitAreRefused) {
    SchemeRowFiles files;
    SchemeRowFiles sources;
    const std::string folder = "C:\\" + std::string(230, 'f') + "\\";
    // folder (234) + name + "\\Scheme.txt" (11): a 10-character name reaches exactly 255.
    SchemeSavePlan plan;
    EXPECT_TRUE(PlanSchemeSave(folder, std::string(10, 'n'), files, sources, plan));
    EXPECT_EQ(plan.schemeFile.size(), 255u);
    EXPECT_FALSE(PlanSchemeSave(folder, std::string(11, 'n'), files, sources, plan));

    files[RowOf("A")] = std::string(30, 'w') + ".wav";
    sources[RowOf("A")] = "D:\\a.wav";
    ASSERT_TRUE(PlanSchemeSave(folder, "n", files, sources, plan));
    EXPECT_TRUE(plan.copies.empty()) << "a copy target past the limit is left out";
}

TEST(SchemeSave, AnEmptySchemesFolderIsRefused) {
    SchemeRowFiles files;
    SchemeRowFiles sources;
    files[RowOf("A")] = "a.wav";
    sources[RowOf("A")] = "D:\\a.wav";
    SchemeSavePlan plan;
    EXPECT_FALSE(PlanSchemeSave("", "NewScheme", files, sources, plan));
    EXPECT_TRUE(plan.copies.empty());
    EXPECT_TRUE(plan.schemeFile.empty());
}

}  // namespace
