#include "app/Trace.h"
#include "tests/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

class TraceFile : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tapvox-trace-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
        path_ = folder_ + "/log.txt";
    }
    void TearDown() override {
        std::remove(path_.c_str());
        rmdir(folder_.c_str());
    }
    std::string folder_;
    std::string path_;
};

TEST(TraceLines, AreByteExact) {
    EXPECT_EQ(TraceEnteringLine("CApp::Init", kTraceSourceCApp, 208),
              "Entering CApp::Init() - (CApp.cpp:208)");
    EXPECT_EQ(TraceLeavingLine("CApp::Init", kTraceSourceCApp),
              "Leaving  CApp::Init() - (CApp.cpp)");
    EXPECT_EQ(TraceEnteringLine("WavePlayer::Wave::play", kTraceSourceWavePlayer, 39),
              "Entering WavePlayer::Wave::play() - (WavePlayer.cpp:39)");
    EXPECT_EQ(TraceLeavingLine("SoundSchemesList::PlayNS", kTraceSourceSchemes),
              "Leaving  SoundSchemesList::PlayNS() - (SoundSchemesList.cpp)");
}

TEST_F(TraceFile, PairsAppendBehindEarlierText) {
    AppendTraceLine(path_.c_str(), "earlier");
    TracePair(1, kTraceSourceCApp, "CApp::WndProc", 766, path_.c_str());
    TracePair(1, kTraceSourceCApp, "CApp::HandleHook", 491, path_.c_str());
    EXPECT_EQ(ReadWholeFile(path_),
              "earlier\n"
              "Entering CApp::WndProc() - (CApp.cpp:766)\n"
              "Leaving  CApp::WndProc() - (CApp.cpp)\n"
              "Entering CApp::HandleHook() - (CApp.cpp:491)\n"
              "Leaving  CApp::HandleHook() - (CApp.cpp)\n");
}

TEST_F(TraceFile, OnlyTheValueOneSwitchesTracingOn) {
    const int offValues[] = {0, 2, -1, 100};
    for (int value : offValues) {
        TracePair(value, kTraceSourceCApp, "CApp::Init", 208, path_.c_str());
    }
    std::ifstream probe(path_);
    EXPECT_FALSE(probe.good()) << "no value but 1 may create the file";
    TracePair(1, kTraceSourceCApp, "CApp::Init", 208, path_.c_str());
    EXPECT_EQ(ReadWholeFile(path_),
              "Entering CApp::Init() - (CApp.cpp:208)\nLeaving  CApp::Init() - (CApp.cpp)\n");
}

TEST_F(TraceFile, MissingFolderDropsLinesSilently) {
    const std::string missing = folder_ + "/absent/log.txt";
    TracePair(1, kTraceSourceCApp, "CApp::Init", 208, missing.c_str());
    std::ifstream probe(missing);
    EXPECT_FALSE(probe.good());
    std::ifstream folder(folder_ + "/absent");
    EXPECT_FALSE(folder.good()) << "the folder must not be created";
}

TEST_F(TraceFile, ScopeWritesItsLinesAtStartAndEnd) {
    {
        TraceScope scope(kTraceSourceCApp, "CApp::HkSetHooks", 321, path_.c_str());
        EXPECT_EQ(ReadWholeFile(path_), "Entering CApp::HkSetHooks() - (CApp.cpp:321)\n");
    }
    EXPECT_EQ(ReadWholeFile(path_),
              "Entering CApp::HkSetHooks() - (CApp.cpp:321)\n"
              "Leaving  CApp::HkSetHooks() - (CApp.cpp)\n");
}

}  // namespace
