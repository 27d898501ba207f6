#include "schemes/PackImportPlan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

PackSound Slice(uint8_t key, bool release, const char* file, int64_t start, int64_t length) {
    return {key, release, file, false, start, length};
}

PackSound Whole(uint8_t key, bool release, const char* file) {
    return {key, release, file, true, 0, 0};
}

struct PlanCase {
    const char* what;
    std::vector<PackSound> sounds;
    std::string schemeText;
    std::vector<std::string> wavs;  // "pack file: wav" in the order they are cut
};

const PlanCase kPlans[] = {
    {"one file sliced, each slice a file",
     {Slice(65, false, "s.ogg", 0, 80), Slice(66, false, "s.ogg", 100, 80),
      Slice(65, true, "s.ogg", 200, 50)},
     "A=A.wav\r\nB=B.wav\r\nA.UP=A-up.wav\r\n",
     {"s.ogg: A.wav", "s.ogg: B.wav", "s.ogg: A-up.wav"}},
    {"one slice shared by many keys is written once, under the first key's name",
     {Slice(32, false, "s.ogg", 0, 80), Slice(65, false, "s.ogg", 0, 80),
      Slice(66, false, "s.ogg", 0, 80), Slice(65, true, "s.ogg", 0, 80)},
     "A=SPACE.wav\r\nB=SPACE.wav\r\nSPACE=SPACE.wav\r\nA.UP=SPACE.wav\r\n",
     {"s.ogg: SPACE.wav"}},
    {"the same start with another length is another sound",
     {Slice(65, false, "s.ogg", 0, 80), Slice(66, false, "s.ogg", 0, 90)},
     "A=A.wav\r\nB=B.wav\r\n",
     {"s.ogg: A.wav", "s.ogg: B.wav"}},
    {"whole files, a file per pack file, releases after presses",
     {Whole(65, true, "up.wav"), Whole(65, false, "a.wav"), Whole(66, false, "a.wav"),
      Whole(13, false, "enter key.mp3")},
     "A=A.wav\r\nB=A.wav\r\nENTER=ENTER.wav\r\nA.UP=A-up.wav\r\n",
     {"a.wav: A.wav", "enter key.mp3: ENTER.wav", "up.wav: A-up.wav"}},
    {"a whole file ignores the slice fields",
     {{65, false, "a.wav", true, 5, 7}, {66, false, "a.wav", true, 0, 0}},
     "A=A.wav\r\nB=A.wav\r\n",
     {"a.wav: A.wav"}},
    {"a key's first sound wins; no key code sets nothing",
     {Whole(65, false, "a.wav"), Whole(65, false, "b.wav"), Whole(0, false, "c.wav")},
     "A=A.wav\r\n",
     {"a.wav: A.wav"}},
    {"no sounds", {}, "", {}},
};

std::vector<std::string> WavsOf(const PackImportPlan& plan) {
    std::vector<std::string> wavs;
    for (const ImportSource& source : plan.sources) {
        for (const ImportCut& cut : source.cuts) wavs.push_back(source.packFile + ": " + cut.wavName);
    }
    return wavs;
}

TEST(PackImportPlan, FilesAndSchemeText) {
    for (const PlanCase& c : kPlans) {
        SoundPack pack;
        pack.sounds = c.sounds;
        const PackImportPlan plan = PlanPackImport(pack);
        EXPECT_EQ(WavsOf(plan), c.wavs) << c.what;
        const std::string text = FormatSchemeText(plan.presses, &plan.releases);
        // What the scheme reader makes of the text is what the plan meant.
        KeySoundTable presses, releases;
        ApplySchemeText(text.data(), text.size(), presses, &releases);
        EXPECT_EQ(presses, plan.presses) << c.what;
        EXPECT_EQ(releases, plan.releases) << c.what;
        EXPECT_EQ(text, c.schemeText) << c.what;
    }
}

TEST(PackImportPlan, SlicesKeepTheirTimes) {
    SoundPack pack;
    pack.sounds = {Slice(65, false, "s.ogg", 1234, 56)};
    const PackImportPlan plan = PlanPackImport(pack);
    ASSERT_EQ(plan.sources.size(), 1u);
    ASSERT_EQ(plan.sources[0].cuts.size(), 1u);
    EXPECT_FALSE(plan.sources[0].cuts[0].whole);
    EXPECT_EQ(plan.sources[0].cuts[0].startMs, 1234);
    EXPECT_EQ(plan.sources[0].cuts[0].lengthMs, 56);
}

}  // namespace
