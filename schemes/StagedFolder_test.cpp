#include "schemes/StagedFolder.h"

#include "tests/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class StagedFolderTest : public testing::Test {
protected:
    void SetUp() override {
        parent_ = fs::temp_directory_path() /
                  ("tapvox-staged-" +
                   std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::error_code ignored;
        fs::remove_all(parent_, ignored);
        fs::create_directories(parent_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(parent_, ignored);
    }

    std::string Parent() const { return (parent_ / "").string(); }

    // Every entry under the parent, as "folder/file" relative paths, sorted.
    std::vector<std::string> Entries() const {
        std::vector<std::string> entries;
        for (const auto& entry : fs::recursive_directory_iterator(parent_))
            entries.push_back(fs::relative(entry.path(), parent_).generic_string());
        std::sort(entries.begin(), entries.end());
        return entries;
    }

    fs::path parent_;
};

TEST_F(StagedFolderTest, CommittedFolderHoldsWhatWasWrittenUnderItsName) {
    {
        StagedFolder staged;
        ASSERT_TRUE(staged.Create(Parent()));
        EXPECT_EQ(staged.Path().rfind(Parent() + ".", 0), 0u) << "hidden from the scheme list";
        ASSERT_TRUE(staged.Write("A.wav", "abc", 3));
        ASSERT_TRUE(staged.Write("Scheme.txt", "A=A.wav\r\n", 9));
        ASSERT_TRUE(staged.Commit("Pack"));
    }
    EXPECT_EQ(Entries(), (std::vector<std::string>{"Pack", "Pack/A.wav", "Pack/Scheme.txt"}));
    EXPECT_EQ(ReadWholeFile((parent_ / "Pack" / "Scheme.txt").string()), "A=A.wav\r\n");
}

TEST_F(StagedFolderTest, LeavesNothingUnlessCommitted) {
    const struct {
        const char* what;
        bool makeTarget;  // a folder of the final name exists already
        bool commit;
        std::vector<std::string> left;
    } kCases[] = {
        {"abandoned", false, false, {}},
        {"the name is taken", true, true, {"Pack", "Pack/mine.txt"}},
    };
    for (const auto& c : kCases) {
        if (c.makeTarget) {
            fs::create_directories(parent_ / "Pack");
            WriteWholeFile((parent_ / "Pack" / "mine.txt").string(), "x");
        }
        {
            StagedFolder staged;
            ASSERT_TRUE(staged.Create(Parent())) << c.what;
            ASSERT_TRUE(staged.Write("A.wav", "abc", 3)) << c.what;
            ASSERT_TRUE(staged.Write("B.wav", "", 0)) << c.what;
            if (c.commit) {
                EXPECT_FALSE(staged.Commit("Pack")) << c.what;
            }
        }
        EXPECT_EQ(Entries(), c.left) << c.what;
    }
}

TEST_F(StagedFolderTest, TwoImportsAtOnceStageApart) {
    StagedFolder first, second;
    ASSERT_TRUE(first.Create(Parent()));
    ASSERT_TRUE(second.Create(Parent()));
    EXPECT_NE(first.Path(), second.Path());
    EXPECT_TRUE(first.Commit("One"));
    EXPECT_TRUE(second.Commit("Two"));
    EXPECT_EQ(Entries(), (std::vector<std::string>{"One", "Two"}));
}

TEST_F(StagedFolderTest, RefusesAMissingParentAndWritesOutsideIt) {
    StagedFolder staged;
    EXPECT_FALSE(staged.Create(""));
    EXPECT_FALSE(staged.Create(Parent() + "missing/"));
    EXPECT_FALSE(staged.Write("A.wav", "abc", 3));
    EXPECT_FALSE(staged.Commit("Pack"));
    EXPECT_TRUE(Entries().empty());
}

}  // namespace
