// The headless host's scripts: how lines become passes, how bad lines are
// reported, and what each pass does to the input the game polls.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "hosts/common/extensions.h"
#include "hosts/common/host.h"
#include "hosts/common/script.h"
#include "platform/s3e.h"
#include "platform/s3e_ext.h"
#include "tests/support/test_host.h"

namespace {

using A = host::ScriptAction;

host::Script Parse(const std::string& text) {
    host::Script s;
    std::string error;
    EXPECT_TRUE(host::ParseScript(text, "s.txt", &s, &error)) << error;
    return s;
}

std::string ParseError(const std::string& text) {
    host::Script s;
    std::string error;
    EXPECT_FALSE(host::ParseScript(text, "bad.txt", &s, &error)) << text;
    return error;
}

TEST(HostScript, GesturesSpreadOverPasses) {
    host::Script tap = Parse("tap 10 20\n");
    ASSERT_EQ(tap.passes.size(), 2u);
    EXPECT_EQ(tap.passes[0].actions[0].kind, A::Press);
    EXPECT_EQ(tap.passes[1].actions[0].kind, A::Release);
    EXPECT_EQ(tap.passes[1].actions[0].a, 10);
    EXPECT_EQ(tap.passes[1].actions[0].b, 20);

    // Press, four moves ending exactly on the target, release.
    host::Script drag = Parse("drag 0 100 -40 20 4\n");
    ASSERT_EQ(drag.passes.size(), 6u);
    std::vector<int32_t> ys;
    for (size_t i = 1; i <= 4; ++i) {
        ASSERT_EQ(drag.passes[i].actions[0].kind, A::Move);
        ys.push_back(drag.passes[i].actions[0].b);
    }
    EXPECT_EQ(ys, (std::vector<int32_t>{80, 60, 40, 20}));
    EXPECT_EQ(drag.passes[4].actions[0].a, -40);
    EXPECT_EQ(drag.passes[5].actions[0].kind, A::Release);
    EXPECT_EQ(Parse("drag 0 0 10 10\n").passes.size(), 2u + host::kDefaultDragSteps);

    // Both touches go down together, move together, then lift one pass apart.
    host::Script pinch = Parse("pinch 100 100 200 200 50 50 250 250 2\n");
    ASSERT_EQ(pinch.passes.size(), 5u);
    ASSERT_EQ(pinch.passes[0].actions.size(), 2u);
    EXPECT_EQ(pinch.passes[0].actions[1].kind, A::TouchDown);
    EXPECT_EQ(pinch.passes[0].actions[1].a, 1);
    EXPECT_EQ(pinch.passes[2].actions[1].b, 250);  // touch 1 reached B
    ASSERT_EQ(pinch.passes[3].actions.size(), 1u);
    EXPECT_EQ(pinch.passes[3].actions[0].kind, A::TouchUp);
    EXPECT_EQ(pinch.passes[4].actions[0].kind, A::Release);
    EXPECT_EQ(pinch.passes[4].actions[0].a, 50);

    host::Script keys = Parse("key ctrl+z\n");
    ASSERT_EQ(keys.passes.size(), 2u);
    EXPECT_EQ(keys.passes[0].actions.size(), 2u);
    EXPECT_EQ(keys.passes[0].actions[0].a, s3eKeyLeftControl);
    EXPECT_EQ(keys.passes[1].actions[0].a, s3eKeyZ);  // Z lifts before Control
}

TEST(HostScript, CommentsBlankLinesAndShotNames) {
    host::Script s = Parse("# start\n\n  wait 5 # half a pass\nshot my shots/a b.png  \nquit\n");
    ASSERT_EQ(s.passes.size(), 3u);
    EXPECT_EQ(s.passes[0].line, 3);
    EXPECT_EQ(s.passes[1].actions[0].path, "my shots/a b.png");
    EXPECT_TRUE(s.hasShot);
    EXPECT_FALSE(Parse("tap 1 1\n").hasShot);
}

TEST(HostScript, BadLinesNameFileAndLine) {
    EXPECT_EQ(ParseError("tap 1 1\n\nfly 2 3\n").rfind("bad.txt:3: ", 0), 0u);
    EXPECT_NE(ParseError("tap 1\n").find("bad.txt:1:"), std::string::npos);
    EXPECT_NE(ParseError("tap 1 2 3\n").find("bad.txt:1:"), std::string::npos);
    EXPECT_NE(ParseError("tap 1 y\n").find("\"y\""), std::string::npos);
    EXPECT_FALSE(ParseError("tap 1.5 2\n").empty());
    EXPECT_FALSE(ParseError("tap 99999999999999 2\n").empty());
    EXPECT_FALSE(ParseError("drag 0 0 1 1 0\n").empty());  // no steps
    EXPECT_FALSE(ParseError("wait -1\n").empty());
    EXPECT_FALSE(ParseError("resize 100 9000\n").empty());
    EXPECT_FALSE(ParseError("answer 3\n").empty());
    EXPECT_FALSE(ParseError("ad open\n").empty());
    EXPECT_FALSE(ParseError("ad load 1\n").empty());
    EXPECT_NE(ParseError("key enter\n").find("enter"), std::string::npos);
    EXPECT_FALSE(ParseError("shot\n").empty());
    EXPECT_FALSE(ParseError("quit now\n").empty());
    EXPECT_FALSE(ParseError("TAP 1 1\n").empty());
}

// ---------------------------------------------------------------------------
// Playing a script through the yield hook, as the headless host does.

host::ScriptPlayer* g_player = nullptr;
void YieldStep(int32_t) {
    if (!g_player->Step()) host::RequestQuit();
}

int32_t g_surfaceEvents = 0;
int32_t CountSurfaceEvent(void*, void*) {
    ++g_surfaceEvents;
    return 0;
}

class HostScriptPlayer : public ::testing::Test {
  protected:
    void Play(const std::string& text, host::ScriptEffects effects = {}) {
        host::HostSetup setup;
        setup.dataDir = bound_.DataDir();
        setup.documentsDir = bound_.DocumentsDir();
        setup.hooks.yield = &YieldStep;
        host::ConfigureHost(setup);
        host::InstallExtensions(host::ExtensionSetup{});
        player_.reset(new host::ScriptPlayer(Parse(text), effects));
        g_player = player_.get();
    }
    // One pass of the game's loop: yield, then poll.
    void Pass() {
        s3eDeviceYieldUntilEvent(0x7FFFFFFF);
        s3eKeyboardUpdate();
        s3ePointerUpdate();
    }
    int TouchesDown() {
        int n = 0;
        for (int i = 0; i < S3E_POINTER_TOUCH_MAX; ++i)
            n += s3ePointerGetTouchState(i) == 1;
        return n;
    }

    testsupport::BoundHost bound_;
    std::unique_ptr<host::ScriptPlayer> player_;
};

TEST_F(HostScriptPlayer, TapIsAPressThenAReleaseAndTheEndAsksToQuit) {
    Play("tap 30 40\n");
    Pass();
    EXPECT_EQ(s3ePointerGetState(0), S3E_POINTER_STATE_DOWN | S3E_POINTER_STATE_PRESSED);
    EXPECT_EQ(s3ePointerGetTouchState(0), 1);
    EXPECT_EQ(s3ePointerGetX(), 30);
    EXPECT_FALSE(s3eDeviceCheckQuitRequest());
    Pass();
    EXPECT_EQ(s3ePointerGetState(0), S3E_POINTER_STATE_RELEASED);
    EXPECT_EQ(s3ePointerGetTouchState(0), 0);
    EXPECT_FALSE(s3eDeviceCheckQuitRequest());
    Pass();
    EXPECT_EQ(s3ePointerGetState(0), 0);
    EXPECT_TRUE(s3eDeviceCheckQuitRequest());
    EXPECT_FALSE(player_->Failed());
}

TEST_F(HostScriptPlayer, PinchHoldsTwoTouchesThenLiftsThemOneByOne) {
    Play("pinch 100 300 300 300 50 300 350 300 2\n");
    Pass();
    EXPECT_EQ(TouchesDown(), 2);
    EXPECT_EQ(s3ePointerGetTouchX(1), 300);
    Pass();
    Pass();
    EXPECT_EQ(TouchesDown(), 2);
    EXPECT_EQ(s3ePointerGetTouchX(0), 50);
    EXPECT_EQ(s3ePointerGetTouchX(1), 350);
    EXPECT_EQ(s3ePointerGetState(0), S3E_POINTER_STATE_DOWN);
    Pass();  // touch 1 lifts; the pointer stays down
    EXPECT_EQ(TouchesDown(), 1);
    EXPECT_EQ(s3ePointerGetState(0), S3E_POINTER_STATE_DOWN);
    Pass();
    EXPECT_EQ(TouchesDown(), 0);
    EXPECT_EQ(s3ePointerGetState(0), S3E_POINTER_STATE_RELEASED);
}

TEST_F(HostScriptPlayer, KeysResizeWaitAndQuit) {
    std::vector<uint32_t> waits;
    static std::vector<uint32_t>* s_waits;
    s_waits = &waits;
    host::ScriptEffects effects;
    effects.wait = [](uint32_t ms) { s_waits->push_back(ms); };
    effects.resize = [](int32_t, int32_t, std::string*) { return true; };
    Play("key back\nresize 800 480\nwait 70000\nquit\ntap 1 1\n", effects);
    g_surfaceEvents = 0;
    ASSERT_EQ(s3eSurfaceRegister(S3E_SURFACE_SCREENSIZE, &CountSurfaceEvent, nullptr),
              S3E_RESULT_SUCCESS);
    Pass();
    EXPECT_EQ(s3eKeyboardGetState(s3eKeyBack), S3E_KEY_STATE_DOWN | S3E_KEY_STATE_PRESSED);
    Pass();
    EXPECT_EQ(s3eKeyboardGetState(s3eKeyBack), S3E_KEY_STATE_RELEASED);
    Pass();
    EXPECT_EQ(g_surfaceEvents, 1);
    EXPECT_EQ(s3eSurfaceGetInt(S3E_SURFACE_WIDTH), 800);
    EXPECT_EQ(s3eSurfaceGetInt(S3E_SURFACE_HEIGHT), 480);
    Pass();
    EXPECT_EQ(waits, (std::vector<uint32_t>{70000}));
    EXPECT_FALSE(s3eDeviceCheckQuitRequest());
    Pass();
    EXPECT_TRUE(s3eDeviceCheckQuitRequest());
    s3eSurfaceUnRegister(S3E_SURFACE_SCREENSIZE, &CountSurfaceEvent);
}

DialogAnswer g_answer{-5, -5};
int32_t RecordAnswer(void* system, void*) {
    g_answer = *static_cast<DialogAnswer*>(system);
    return 0;
}

TEST_F(HostScriptPlayer, AnswerReachesTheHandlerAndFailsWithoutADialog) {
    Play("answer 1\nanswer 0\ntap 5 5\n");
    s3eDialogTable dialog;
    ASSERT_TRUE(s3eExtLookup(S3E_EXT_DIALOG_ID, &dialog));
    ASSERT_EQ(dialog.Register(S3E_DIALOG_CALLBACK_ANSWER, &RecordAnswer, nullptr),
              S3E_RESULT_SUCCESS);
    DialogRequest request{"Quit?", " ", "Yes", "No", nullptr, 1};
    dialog.AlertShow(&request);
    Pass();
    EXPECT_EQ(g_answer.id, 1);
    EXPECT_EQ(g_answer.button, 1);
    // The second answer finds no box: the run stops with the line at fault.
    Pass();
    EXPECT_TRUE(player_->Failed());
    EXPECT_EQ(player_->Error(), "s.txt:2: answer: no dialog is open");
    EXPECT_TRUE(s3eDeviceCheckQuitRequest());
    EXPECT_FALSE(player_->Step());
    EXPECT_EQ(player_->PassesApplied(), 2u);
}

TEST_F(HostScriptPlayer, FailedShotStopsTheRunWithItsLine) {
    host::ScriptEffects effects;
    effects.shot = [](const std::string&, std::string* why) {
        *why = "disk full";
        return false;
    };
    Play("wait 1\nshot out.png\n", effects);
    EXPECT_TRUE(player_->Step());
    EXPECT_FALSE(player_->Step());
    EXPECT_EQ(player_->Error(), "s.txt:2: shot out.png: disk full");
}

}  // namespace
