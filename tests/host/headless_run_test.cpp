// The headless host as tests and benchmarks use it: the log it prints, the
// screenshots it writes, how it reports a bad script, and where it keeps the
// player's data.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/test_host.h"

namespace {

using testsupport::Picture;
using testsupport::ReadPicture;
using testsupport::RunHeadless;

std::vector<std::string> Frames(const testsupport::HeadlessRun& run) {
    std::vector<std::string> frames;
    for (const auto& l : run.lines) {
        if (l.rfind("frame ", 0) == 0) frames.push_back(l);
    }
    return frames;
}

class Headless : public ::testing::Test {
  protected:
    void SetUp() override { dir_ = testsupport::MakeTempDir(); }
    void TearDown() override { testsupport::RemoveTree(dir_); }
    std::string dir_;
};

TEST_F(Headless, ShotAfterStartUpIsTheLightBackgroundAndTheLogShowsEachFrame) {
    auto run = RunHeadless("wait 10\nshot " + dir_ + "/a.png\n", {"--size", "480x800"});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    // The start-up's redraw, one frame in each of the first two passes,
    // numbered in order.
    std::vector<std::string> frames = Frames(run);
    ASSERT_EQ(frames.size(), 2u) << run.log;
    for (size_t i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(frames[i].rfind("frame " + std::to_string(i + 1) + " 480x800 drawcalls=", 0), 0u)
            << frames[i];
    }
    Picture p;
    ASSERT_TRUE(ReadPicture(dir_ + "/a.png", &p));
    EXPECT_EQ(p.width, 480);
    EXPECT_EQ(p.height, 800);
    // The main menu's surface clear around the panel, the signs and the promotion row.
    for (auto xy : {std::make_pair(0, 0), {479, 0}, {240, 680}, {0, 799}, {479, 799}}) {
        EXPECT_TRUE(p.Is(xy.first, xy.second, 236, 240, 241)) << xy.first << "," << xy.second;
    }
}

TEST_F(Headless, ResizeRedrawsAtTheNewSizeAndShotsFollowIt) {
    auto run =
        RunHeadless("resize 300 200\nwait 10\nshot " + dir_ + "/wide.png\n", {"--size", "200x300"});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    std::vector<std::string> frames = Frames(run);
    ASSERT_GE(frames.size(), 3u) << run.log;
    // The surface event's pass and the next draw at the new size.
    EXPECT_NE(frames[frames.size() - 1].find(" 300x200 "), std::string::npos);
    EXPECT_NE(frames[frames.size() - 2].find(" 300x200 "), std::string::npos);
    Picture p;
    ASSERT_TRUE(ReadPicture(dir_ + "/wide.png", &p));
    EXPECT_EQ(p.width, 300);
    EXPECT_EQ(p.height, 200);
    EXPECT_TRUE(p.Is(299, 199, 236, 240, 241));
}

TEST_F(Headless, DensityDrawsTheSurfaceOnMoreDevicePixelsAndFramesStayWhole) {
    auto run = RunHeadless("wait 10\nshot " + dir_ + "/dense.png\n",
                           {"--size", "480x800", "--density", "1.5"});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    EXPECT_EQ(Frames(run).back().rfind("frame 2 480x800 ", 0), 0u) << run.log;
    Picture p;
    ASSERT_TRUE(ReadPicture(dir_ + "/dense.png", &p));
    EXPECT_EQ(p.width, 720);
    EXPECT_EQ(p.height, 1200);
    // The last promotion tile's two-pixel outline (surface columns 374 and
    // 375) covers device columns 561 to 563 without a gap; 373 is background.
    const int y = 1117;
    for (int x = 561; x <= 563; ++x)
        EXPECT_TRUE(p.Is(x, y, 60, 74, 89)) << x;
    EXPECT_TRUE(p.Is(560, y, 236, 240, 241));
}

TEST_F(Headless, BadScriptLineIsReportedWithItsLineAndNothingRuns) {
    auto run = RunHeadless("tap 10 10\n# fine\ntap ten 10\n");
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_NE(run.errors.find("script.txt:3: "), std::string::npos) << run.errors;
    EXPECT_TRUE(Frames(run).empty());

    auto opt = RunHeadless("tap 1 1\n", {"--size", "big"});
    EXPECT_EQ(opt.exitStatus, 2);
    EXPECT_NE(opt.errors.find("--size"), std::string::npos);
    EXPECT_EQ(RunHeadless("", {"--frobnicate", "1"}).exitStatus, 2);
}

TEST_F(Headless, AStepThatFailsEndsTheGameWithAnError) {
    // No dialog is open to answer; the game still shuts down and the run fails.
    auto run = RunHeadless("wait 1\nanswer 0\nshot " + dir_ + "/never.png\n");
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_NE(run.errors.find("script.txt:2: answer: no dialog is open"), std::string::npos)
        << run.errors;
    EXPECT_FALSE(testsupport::FileExists(dir_ + "/never.png"));

    auto bad = RunHeadless("shot " + dir_ + "/no/such/dir/a.png\n");
    EXPECT_EQ(bad.exitStatus, 1);
    EXPECT_NE(bad.errors.find("script.txt:1: shot "), std::string::npos) << bad.errors;
}

TEST_F(Headless, QuitEndsTheRunBeforeLaterLines) {
    auto run = RunHeadless("quit\nshot " + dir_ + "/late.png\n");
    EXPECT_EQ(run.exitStatus, 0) << run.errors;
    EXPECT_FALSE(testsupport::FileExists(dir_ + "/late.png"));
}

TEST_F(Headless, StorageIsKeptWhenGivenAndTemporaryOtherwise) {
    std::string mine = dir_ + "/mine/deep";
    auto run = RunHeadless("wait 1\n", {"--storage", mine});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    EXPECT_TRUE(testsupport::FileExists(mine));
    // A file given as the folder keeps nothing; the game plays on and says so once.
    ASSERT_TRUE(testsupport::WriteFile(dir_ + "/plain", "x"));
    run = RunHeadless("wait 1\n", {"--storage", dir_ + "/plain"});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    const std::string said = "nothing will be saved";
    const size_t first = run.log.find(said);
    EXPECT_NE(first, std::string::npos) << run.log;
    EXPECT_EQ(run.log.find(said, first + 1), std::string::npos) << run.log;

    // The temporary folder goes under TMPDIR and is gone afterwards...
    std::string tmp = dir_ + "/tmp";
    std::filesystem::create_directories(tmp);
    const char* old = getenv("TMPDIR");
    std::string saved = old ? old : "";
    setenv("TMPDIR", tmp.c_str(), 1);
    run = RunHeadless("wait 1\n");
    EXPECT_EQ(run.exitStatus, 0) << run.errors;
    EXPECT_TRUE(std::filesystem::is_empty(tmp));
    // ...unless kept, and then the run says where.
    run = RunHeadless("wait 1\n", {"--keep"});
    if (old) {
        setenv("TMPDIR", saved.c_str(), 1);
    } else {
        unsetenv("TMPDIR");
    }
    EXPECT_EQ(run.exitStatus, 0) << run.errors;
    EXPECT_FALSE(std::filesystem::is_empty(tmp));
    EXPECT_NE(run.errors.find("storage kept in " + tmp + "/"), std::string::npos) << run.errors;
}

}  // namespace
