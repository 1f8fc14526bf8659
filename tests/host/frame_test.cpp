// The frame around the game: start-up, the event-driven main loop and
// shut-down, driven through the host services on a real GL surface.
#include <gtest/gtest.h>

#include "app/app.h"
#include "engine/iwgx.h"
#include "hosts/common/extensions.h"
#include "hosts/common/host.h"
#include "platform/binding.h"
#include "tests/support/gl_surface.h"

namespace {

using testsupport::GLSurface;

class Frame : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(surface.Ok()) << surface.Error(); }

    // An Android device whose ad services count the interstitials prepared.
    void WithAds() {
        host::SetDevice(S3E_OS_ID_ANDROID, 2);
        static int* s_prepared;
        s_prepared = &prepared;
        host::ExtensionSetup ext;
        ext.adMob = true;
        ext.onAd = [](const std::string& line) {
            if (line.rfind("admob prepare", 0) == 0) ++*s_prepared;
        };
        host::InstallExtensions(ext);
    }

    // Runs the game; the host asks to quit during the yield of pass `passes`.
    int RunPasses(int passes) {
        surface.onYield = [this, passes] {
            if (surface.yields >= passes) host::RequestQuit();
        };
        return IwAppEntry(nullptr) == nullptr ? host::ExitCode() : -2;
    }

    GLSurface surface{120, 200, testsupport::GameDataDir()};
    int prepared = 0;
};

TEST_F(Frame, QuitPendingAtStartSkipsTheLoopButShutsDown) {
    WithAds();
    host::RequestQuit();
    EXPECT_EQ(RunPasses(1000), 0);
    EXPECT_EQ(surface.yields, 0);         // no pass ran
    EXPECT_EQ(surface.FramesShown(), 0);  // start-up leaves its frames to the loop
    EXPECT_EQ(prepared, 0);               // the first pass never came
    EXPECT_EQ(g_app, nullptr);            // the App was torn down
    EXPECT_FALSE(IwGxIsStarted());        // and the engine ended
}

TEST_F(Frame, FirstPassesDrawOneFrameEachAndIdlePassesDrawNothing) {
    WithAds();
    EXPECT_EQ(RunPasses(6), 0);
    EXPECT_EQ(surface.yields, 6);
    // The start-up's redraw, one frame in each of the first two passes (both
    // buffers), then nothing while idle.
    EXPECT_EQ(surface.FramesShown(), 2);
    EXPECT_EQ(prepared, 1);  // once, in the first pass
    EXPECT_FALSE(IwGxIsStarted());
    // The main menu's surface clear, in the corner beside the promotion row, is Light.
    EXPECT_TRUE(testsupport::Near(surface.Pixel(118, 198), 0xFFF1F0ECu, 0));
}

TEST_F(Frame, SurfaceChangeDrawsOnceInEachOfTheNextTwoPasses) {
    int framesBefore = -1;
    surface.onYield = [&] {
        if (surface.yields == 3) {
            framesBefore = surface.FramesShown();
            host::SetSurfaceSize(200, 120);
            host::RaiseSurfaceEvent(1);
        }
        if (surface.yields >= 5) host::RequestQuit();
    };
    ASSERT_EQ(IwAppEntry(nullptr), nullptr);
    EXPECT_EQ(framesBefore, 2);
    EXPECT_EQ(surface.FramesShown(), 4);
}

TEST_F(Frame, StartUpFindsTheGameDataAndTheStoredTheme) {
    // A Dark theme stored by an earlier run, written with carriage returns.
    ASSERT_TRUE(testsupport::WriteFile(surface.Host().Path("Documents/conf/conf.cfg"),
                                       "color_schema=1\r\nrate_redirected=0\r\n"));
    EXPECT_EQ(RunPasses(2), 0);
    EXPECT_TRUE(surface.warnings.empty()) << surface.warnings.front();  // font and images load
    EXPECT_TRUE(testsupport::Near(surface.Pixel(118, 198), 0xFF594A3Cu, 0));  // (60, 74, 89)
    // The storage tree exists for the board state files and the settings.
    EXPECT_TRUE(testsupport::FileExists(surface.Host().Path("Documents/black")));
    EXPECT_TRUE(testsupport::FileExists(surface.Host().Path("Documents/conf")));
}

TEST_F(Frame, SurfaceHandlersAreUnregisteredAtShutDown) {
    EXPECT_EQ(RunPasses(1), 0);
    int frames = surface.FramesShown();
    host::RaiseSurfaceEvent(1);  // nobody listens any more
    EXPECT_EQ(surface.FramesShown(), frames);
}

}  // namespace
