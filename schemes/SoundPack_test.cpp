#include "schemes/SoundPack.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>

#include "schemes/KeyNames.h"

namespace {

// The sounds of the named keys (all keys when keys is empty), one word each:
// NAME=file, NAME^=file for a release, @start+length after a slice.
std::string Describe(const SoundPack& pack, const std::string& keys) {
    std::set<std::string> wanted;
    std::istringstream words(keys);
    for (std::string word; words >> word;) wanted.insert(word);
    std::string text;
    for (const PackSound& sound : pack.sounds) {
        const std::string name = KeyNameOfCode(sound.keyCode);
        if (!wanted.empty() && wanted.count(name) == 0) continue;
        if (!text.empty()) text += ' ';
        text += name + (sound.release ? "^=" : "=") + sound.file;
        if (!sound.whole) {
            text += '@' + std::to_string(sound.startMs) + '+' + std::to_string(sound.lengthMs);
        }
    }
    return text;
}

struct FormCase {
    const char* what;
    std::string json;
    std::string keys;  // the keys described; empty for all
    std::string sounds;
    size_t soundCount;
    size_t skipped;
};

const FormCase kForms[] = {
    {"v1 single: slices, releases, nulls, unknown codes, the left hand over the right",
     R"({"id":"x","name":"One file","key_define_type":"single","includes_numpad":true,
         "sound":"sound.ogg","defines":{"1":[0,120],"30":[200,90],"30-up":[300,80],
         "3640":[900,5],"56":[800,5],"54":[400,50],"42":[500,60],"2":null,"41":[5,5],
         "99999":[1,1],"foo":[1,1],"57-up":[10.4,20.6],"3":[50,0],"4":[0,10000]}})",
     "", "SHIFT=sound.ogg@500+60 ALT=sound.ogg@800+5 ESC=sound.ogg@0+120 SPACE^=sound.ogg@10+21 "
         "D3=sound.ogg@0+10000 A=sound.ogg@200+90 A^=sound.ogg@300+80",
     7, 3},
    {"v1 multi: a file per key, blanks and brackets kept, a right-hand key alone",
     R"({"name":"Files","key_define_type":"multi","sound":"","defines":{"30":"a.wav",
         "30-up":"sub/a up.wav","57":"[.wav","3613":"ctrl.mp3","29":null,"31":"..s.wav",
         "32":"d..d.wav","61010":"ins.wav","3666":"insert.wav","33":"./f.wav"}})",
     "", "CTRL=ctrl.mp3 SPACE=[.wav INS=insert.wav A=a.wav A^=sub/a up.wav D=d..d.wav "
         "F=./f.wav S=..s.wav",
     8, 0},
    {"v2 multi: keys without an entry fall back to sound and soundup",
     R"({"version":2,"name":"Two","key_define_type":"multi","sound":"press.mp3",
         "soundup":"up/release.mp3","defines":{"28":"enter.mp3","14":null,"57-up":"x.mp3"}})",
     "BACK ENTER SPACE", "BACK=press.mp3 BACK^=up/release.mp3 ENTER=enter.mp3 "
                         "ENTER^=up/release.mp3 SPACE=press.mp3 SPACE^=x.mp3",
     2 * 111, 0},
    {"v2 with its version as a string and no soundup: presses only",
     R"({"version":"2","key_define_type":"multi","sound":"p.mp3","defines":{}})",
     "A Z", "A=p.mp3 Z=p.mp3", 111, 0},
    {"v2 single: slices of sound, no fallback",
     R"({"version":2,"key_define_type":"single","sound":"all.ogg","soundup":"u.ogg",
         "defines":{"30":[0,50]}})",
     "", "A=all.ogg@0+50", 1, 0},
    {"DX single: press and release as start and end, unknown names skipped",
     R"({"config_version":"2","name":"DX","definition_method":"single","audio_file":"s.ogg",
         "definitions":{"KeyA":{"timing":[[0,100],[100,180]]},"Space":{"timing":[[200.5,300]]},
         "MouseLeft":{"timing":[[0,5]]},"ShiftRight":{"timing":[[7,9]]},
         "ShiftLeft":{"timing":[[1,3]]},"Tab":null,"KeyB":{"timing":[]},"KeyC":{},
         "KeyD":{"audio_file":"d.ogg"}}})",
     "", "SHIFT=s.ogg@1+2 SPACE=s.ogg@201+99 A=s.ogg@0+100 A^=s.ogg@100+80 D=d.ogg", 5, 1},
    {"DX multi: each entry's own file, whole when it has no timing",
     R"({"config_version":2,"definition_method":"multi","audio_file":"default.ogg",
         "definitions":{"Enter":{"audio_file":"enter.ogg","timing":[[0,90],[90,150]]},
         "Tab":{"audio_file":"tab.ogg"},"KeyQ":{"timing":[[5,6]]}}})",
     "", "TAB=tab.ogg ENTER=enter.ogg@0+90 ENTER^=enter.ogg@90+60 Q=default.ogg@5+1", 4, 0},
};

TEST(SoundPackForms, EachFormGivesItsSounds) {
    for (const FormCase& c : kForms) {
        const SoundPackReading reading = ReadSoundPack(c.json);
        ASSERT_EQ(reading.error, PackError::None) << c.what << ": " << reading.errorDetail;
        EXPECT_EQ(Describe(reading.pack, c.keys), c.sounds) << c.what;
        EXPECT_EQ(reading.pack.sounds.size(), c.soundCount) << c.what;
        EXPECT_EQ(reading.pack.skippedKeys, c.skipped) << c.what;
    }
    EXPECT_EQ(ReadSoundPack(kForms[0].json).pack.name, "One file");
}

// A range picks one number per key, the same at every reading, and the letters do not all get
// the same one.
TEST(SoundPackForms, RangesPickPerKeyAndStayPut) {
    const std::string json = R"({"version":2,"key_define_type":"multi","sound":"R{3-7}.mp3",
                                  "soundup":"U{0-0}.mp3","defines":{"30":"a{10-12}.mp3"}})";
    const SoundPackReading first = ReadSoundPack(json);
    ASSERT_EQ(first.error, PackError::None);
    EXPECT_EQ(Describe(first.pack, ""), Describe(ReadSoundPack(json).pack, ""));
    std::set<std::string> letterFiles;
    for (const PackSound& sound : first.pack.sounds) {
        const std::string& file = sound.file;
        if (sound.release) {
            EXPECT_EQ(file, "U0.mp3");
        } else if (sound.keyCode == 65) {
            EXPECT_TRUE(file == "a10.mp3" || file == "a11.mp3" || file == "a12.mp3") << file;
        } else {
            ASSERT_EQ(file.size(), 6u) << file;
            EXPECT_TRUE(file[1] >= '3' && file[1] <= '7') << file;
            if (sound.keyCode > 65 && sound.keyCode <= 90) letterFiles.insert(file);
        }
    }
    EXPECT_GE(letterFiles.size(), 3u);
}

struct HostileCase {
    const char* what;
    std::string json;
    PackError error;
    std::string detail;
};

std::string V1Multi(const std::string& value) {
    return R"({"key_define_type":"multi","defines":{"30":)" + value + "}}";
}
std::string V1Single(const std::string& slice) {
    return R"({"key_define_type":"single","sound":"s.ogg","defines":{"30":)" + slice + "}}";
}
std::string DxSingle(const std::string& entry) {
    return R"({"config_version":"2","definition_method":"single","audio_file":"s.ogg",
               "definitions":{"KeyA":)" + entry + "}}";
}

const HostileCase kHostile[] = {
    {"10 MB", std::string(10 << 20, ' ') + "{}", PackError::TooLarge, "config.json"},
    {"one byte over", "{}" + std::string(kMaxPackConfigBytes - 1, ' '), PackError::TooLarge,
     "config.json"},
    {"empty", "", PackError::Malformed, "config.json"},
    {"cut short", R"({"key_define_type":"multi","defines":{"30":"a.wav")", PackError::Malformed,
     "config.json"},
    {"trailing comma", R"({"defines":{},})", PackError::Malformed, "config.json"},
    {"an array", "[]", PackError::Malformed, "config.json"},
    {"deep nesting", std::string(200000, '[') + std::string(200000, ']'), PackError::Malformed,
     "config.json"},
    {"bad UTF-8", "{\"name\":\"\xFF\"}", PackError::Malformed, "config.json"},
    {"name a number", R"({"name":5,"key_define_type":"multi","defines":{}})",
     PackError::WrongType, "name"},
    {"unknown define type", R"({"key_define_type":"double","defines":{}})",
     PackError::UnknownFormat, "key_define_type"},
    {"define type a number", R"({"key_define_type":1,"defines":{}})", PackError::WrongType,
     "key_define_type"},
    {"no defines", R"({"key_define_type":"multi"})", PackError::MissingField, "defines"},
    {"defines an array", R"({"key_define_type":"multi","defines":[]})", PackError::WrongType,
     "defines"},
    {"version 3", R"({"version":3,"key_define_type":"multi","defines":{}})",
     PackError::UnknownFormat, "version"},
    {"config_version 1", R"({"config_version":"1"})", PackError::UnknownFormat,
     "config_version"},
    {"single without sound", R"({"key_define_type":"single","defines":{}})",
     PackError::MissingField, "sound"},
    {"single with a file name", V1Single(R"("a.wav")"), PackError::WrongType, "30"},
    {"slice of one number", V1Single("[1]"), PackError::WrongType, "30"},
    {"slice of a string", V1Single(R"([1,"2"])"), PackError::WrongType, "30"},
    {"multi with a slice", V1Multi("[0,1]"), PackError::WrongType, "30"},
    {"unknown code of a wrong type",
     R"({"key_define_type":"multi","defines":{"41":5}})", PackError::WrongType, "41"},
    {"negative start", V1Single("[-1,10]"), PackError::BadSlice, "30"},
    {"negative length", V1Single("[0,-5]"), PackError::BadSlice, "30"},
    {"an hour", V1Single("[0,3600000]"), PackError::BadSlice, "30"},
    {"just over the longest", V1Single("[0,10001]"), PackError::BadSlice, "30"},
    {"start past a day", V1Single("[86400001,10]"), PackError::BadSlice, "30"},
    {"start beyond any integer", V1Single("[1e300,10]"), PackError::BadSlice, "30"},
    {"DX end before start", DxSingle(R"({"timing":[[100,50]]})"), PackError::BadSlice, "KeyA"},
    {"DX an hour", DxSingle(R"({"timing":[[0,3600000]]})"), PackError::BadSlice, "KeyA"},
    {"DX timing a string", DxSingle(R"({"timing":"0-5"})"), PackError::WrongType, "KeyA"},
    {"DX three timings", DxSingle(R"({"timing":[[0,1],[1,2],[2,3]]})"), PackError::WrongType,
     "KeyA"},
    {"DX entry a number", DxSingle("5"), PackError::WrongType, "KeyA"},
    {"DX multi without a file",
     R"({"config_version":"2","definition_method":"multi","definitions":{"KeyA":{}}})",
     PackError::MissingField, "KeyA"},
    {"DX without a method", R"({"config_version":"2","definitions":{}})",
     PackError::MissingField, "definition_method"},
    {"parent folder", V1Multi(R"("../x.wav")"), PackError::BadFileName, "../x.wav"},
    {"parent folder inside", V1Multi(R"("a/../../x.wav")"), PackError::BadFileName,
     "a/../../x.wav"},
    {"parent folder, backslash", V1Multi(R"("..\\x.wav")"), PackError::BadFileName,
     "..\\x.wav"},
    {"parent folder as Windows trims it", V1Multi(R"("a/.. /x.wav")"), PackError::BadFileName,
     "a/.. /x.wav"},
    {"three dots", V1Multi(R"("...\\x.wav")"), PackError::BadFileName, "...\\x.wav"},
    {"a device", V1Multi(R"("sounds/con.wav")"), PackError::BadFileName, "sounds/con.wav"},
    {"absolute", V1Multi(R"("/etc/passwd")"), PackError::BadFileName, "/etc/passwd"},
    {"backslash-rooted", V1Multi(R"("\\x.wav")"), PackError::BadFileName, "\\x.wav"},
    {"drive letter", V1Multi(R"("C:/x.wav")"), PackError::BadFileName, "C:/x.wav"},
    {"drive-relative", V1Multi(R"("c:x.wav")"), PackError::BadFileName, "c:x.wav"},
    {"empty name", V1Multi(R"("")"), PackError::BadFileName, ""},
    {"a folder", V1Multi(R"("sounds/")"), PackError::BadFileName, "sounds/"},
    {"a zero byte", V1Multi(R"("a\u0000.wav")"), PackError::BadFileName,
     std::string("a\0.wav", 6)},
    {"reversed range", V1Multi(R"("{9-1}.wav")"), PackError::BadFileName, "{9-1}.wav"},
    {"huge range", V1Multi(R"("{0-99999}.wav")"), PackError::BadFileName, "{0-99999}.wav"},
    {"single sound outside",
     R"({"key_define_type":"single","sound":"../s.ogg","defines":{}})",
     PackError::BadFileName, "../s.ogg"},
    {"fallback release outside",
     R"({"version":2,"key_define_type":"multi","soundup":"../u.ogg","defines":{}})",
     PackError::BadFileName, "../u.ogg"},
    {"DX file absolute", DxSingle(R"({"audio_file":"/a.ogg"})"), PackError::BadFileName,
     "/a.ogg"},
};

TEST(SoundPackHostile, EachIsRefusedWithItsReason) {
    for (const HostileCase& c : kHostile) {
        const SoundPackReading reading = ReadSoundPack(c.json);
        EXPECT_EQ(reading.error, c.error) << c.what;
        EXPECT_EQ(reading.errorDetail, c.detail) << c.what;
        EXPECT_TRUE(reading.pack.sounds.empty()) << c.what;
    }
}

}  // namespace
