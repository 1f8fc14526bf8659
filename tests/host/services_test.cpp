// The promotion slots with their images on a real GL surface, and the ad and
// dialog services as the headless host's log shows them.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "draw2d/iw2d.h"
#include "hosts/common/extensions.h"
#include "hosts/common/host.h"
#include "services/ads.h"
#include "services/config.h"
#include "services/device.h"
#include "services/promo.h"
#include "tests/support/gl_surface.h"
#include "tests/support/test_host.h"
#include "ui/main_menu.h"

namespace {

std::vector<std::string>* g_links = nullptr;

TEST(PromoRotator, SlotsShowTheirImagesAndOpenTheirPages) {
    testsupport::GLSurface surface(64, 64, testsupport::GameDataDir());
    ASSERT_TRUE(surface.Ok()) << surface.Error();
    std::vector<std::string> links;
    g_links = &links;
    host::ExtensionSetup ext;
    ext.onLink = [](const std::string& a) {
        g_links->push_back(a);
        return true;
    };
    host::InstallExtensions(ext);
    InitDrawing();

    // iOS, a language outside the group: rows 1, 3 and 7 in some order.
    host::SetDevice(S3E_OS_ID_IPHONE, 2);
    ReadDeviceFacts();
    StartPromoRotator();
    for (int32_t slot = 0; slot < 3; ++slot)
        EXPECT_NE(PromoImage(slot), nullptr) << slot;
    EXPECT_EQ(PromoImage(3), nullptr);
    EXPECT_EQ(PromoImage(-1), nullptr);
    for (int32_t slot = -1; slot <= 3; ++slot)
        OpenPromo(slot);
    std::vector<std::string> want = {config::kPromoPages[0].iosOther,
                                     config::kPromoPages[2].iosOther,
                                     config::kPromoPages[6].iosOther};
    std::sort(links.begin(), links.end());
    std::sort(want.begin(), want.end());
    EXPECT_EQ(links, want);

    // The desktop simulator: four slots (this game among the candidates), each
    // opening the Android page and then the iOS page, when the row has one.
    host::SetDevice(S3E_OS_ID_DESKTOP, 16);
    ReadDeviceFacts();
    StartPromoRotator();
    std::set<uint32_t> rows;
    for (int32_t slot = 0; slot < 4; ++slot) {
        ASSERT_NE(PromoImage(slot), nullptr) << slot;
        links.clear();
        OpenPromo(slot);
        ASSERT_FALSE(links.empty());
        uint32_t row = 0;
        for (uint32_t r = 1; r <= 8; ++r) {
            if (links[0] == config::kPromoPages[r - 1].android) row = r;
        }
        ASSERT_NE(row, 0u) << links[0];
        rows.insert(row);
        if (row == 8) {
            EXPECT_EQ(links.size(), 1u);
        } else {
            EXPECT_EQ(links, (std::vector<std::string>{config::kPromoPages[row - 1].android,
                                                       config::kPromoPages[row - 1].iosRussian}));
        }
    }
    EXPECT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows.count(7), 0u);  // the US app is for other languages

    // Every image was found; shut-down releases them.
    EXPECT_TRUE(surface.warnings.empty()) << surface.warnings.front();
    StopAds();
    EXPECT_EQ(PromoImage(0), nullptr);
    TerminateDrawing();
}

TEST(HeadlessServices, AMissingDialogExtensionAndScriptedAdsOnIos) {
    auto run = testsupport::RunHeadless(
        "ad load\nwait 1\nad close\nwait 1\n",
        {"--os", "ios", "--without", "dialog", "--ad-fill", "script", "--size", "200x300"});
    // The script's close finds no ad shown: the run stops there, after a full shut-down.
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_NE(run.errors.find("script.txt:3: ad close: no ad is shown"), std::string::npos)
        << run.errors;
    std::vector<std::string> ads, warnings;
    for (const auto& l : run.lines) {
        if (l.rfind("ad admob ", 0) == 0) ads.push_back(l.substr(3));
        if (l.rfind("warning ", 0) == 0) warnings.push_back(l.substr(8));
    }
    EXPECT_EQ(warnings, (std::vector<std::string>{"error loading extension: s3eDialog"}));
    const std::string unit = config::AdIdentifiersFor(S3E_OS_ID_IPHONE)->adMobUnit;
    EXPECT_EQ(ads, (std::vector<std::string>{
                       "admob register 0", "admob register 1", "admob register 2",
                       "admob unit " + unit + " 1",
                       // the first pass prepares; the script's first line loads it
                       "admob prepare 1", "admob query 1 0", "admob load 1", "admob loaded 1",
                       // the ad still held is released at shut-down
                       "admob destroy 1"}))
        << run.log;
    // The ChartBoost stand-in was started with the iOS pair.
    EXPECT_NE(run.log.find("ad chartboost start\n"), std::string::npos);
}

TEST(HeadlessServices, TheFirstPuzzleShowsAnInterstitialAsSoonAsOneIsReady) {
    // Straight onto the board, as a tap on the puzzle list would open it.
    auto run = testsupport::RunHeadless(
        "wait 1\nad load\nwait 1\nad close\nwait 1\n",
        {"--os", "android", "--without", "chartboost", "--ad-fill", "script", "--screen", "board",
         "--puzzle", "0/0/0", "--size", "200x300"});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    std::vector<std::string> ads;
    for (const auto& l : run.lines) {
        if (l.rfind("ad admob ", 0) == 0 && l.find(" register ") == std::string::npos &&
            l.find(" unit ") == std::string::npos)
            ads.push_back(l.substr(9));
    }
    EXPECT_EQ(ads, (std::vector<std::string>{// the first pass prepares; nothing to show yet
                                             "prepare 1", "query 1 0", "load 1",
                                             // the pass after the load shows it
                                             "loaded 1", "show 1",
                                             // closing it releases it
                                             "closed 1", "destroy 1"}))
        << run.log;
}

}  // namespace

namespace {

std::string Tap(const ScreenRect& r) {
    return "tap " + std::to_string(r.x + r.w / 2) + " " + std::to_string(r.y + r.h / 2) + "\n";
}

bool Has(const testsupport::HeadlessRun& run, const std::string& prefix) {
    for (const auto& l : run.lines)
        if (l.rfind(prefix, 0) == 0) return true;
    return false;
}

}  // namespace

// Every sign, tile and box of the main menu as a player meets them: the
// Themes box rewrites the settings and the theme, "No" to "Quit?" keeps
// playing, Help and Rate open their pages, the corner tile asks about the paid
// edition (or is a promotion on the desktop), and the texts follow the language.
TEST(HeadlessServices, MainMenuSignsTilesAndBoxesOnEverySystemAndLanguage) {
    const MainMenuLayout rated = LayoutMainMenu(480, 800, true);
    for (const char* os : {"android", "ios", "desktop"}) {
        for (const char* lang : {"en", "ru"}) {
            const std::string dir = testsupport::MakeTempDir();
            // Five solved puzzles show the Rate sign (on the desktop simulator
            // the host's debug switch is on).
            ASSERT_TRUE(testsupport::WriteFile(dir + "/conf/points.pts", "5\n"));
            std::string s = Tap(rated.themesSign) + "answer 1\n" + "key escape\n" + "answer 1\n" +
                            Tap(rated.helpSign) + Tap(rated.rateSign) + Tap(rated.promoCorner) +
                            (std::string(os) == "desktop" ? "" : "answer 0\n") + "wait 10\n" +
                            "shot " + dir + "/menu.png\nquit\n";
            auto run = testsupport::RunHeadless(
                s, {"--size", "480x800", "--os", os, "--lang", lang, "--storage", dir});
            const std::string where = std::string(os) + " " + lang + "\n" + run.log;
            ASSERT_EQ(run.exitStatus, 0) << where << run.errors;
            const bool ru = std::string(lang) == "ru";
            EXPECT_TRUE(
                Has(run, ru ? "dialog 3 \" \" \"Выбор темы\" \"Светлая\" \"Темная\" \"Серая\""
                            : "dialog 3 \" \" \"Themes\" \"Light\" \"Dark\" \"Grey\""))
                << where;
            EXPECT_TRUE(Has(run, ru ? "dialog 1 \" \" \"Выйти?\" \"Да\" \"Нет\""
                                    : "dialog 1 \" \" \"Quit?\" \"Yes\" \"No\""))
                << where;
            // The second button gave Dark, saved with the rate flag the Rate sign set.
            EXPECT_EQ(testsupport::ReadFile(dir + "/conf/conf.cfg"),
                      "color_schema=1\nrate_redirected=1\n")
                << where;
            testsupport::Picture p;
            ASSERT_TRUE(testsupport::ReadPicture(dir + "/menu.png", &p));
            EXPECT_EQ(p.At(2, 700), "60,74,89") << where;  // the Dark background
            EXPECT_TRUE(Has(run, "link ")) << where;
            if (std::string(os) == "desktop") {
                EXPECT_FALSE(Has(run, "dialog 4")) << where;  // a promotion tile instead
            } else {
                EXPECT_TRUE(Has(run, "dialog 4")) << where;
            }
            testsupport::RemoveTree(dir);
        }
    }
}
