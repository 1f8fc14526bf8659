// The main menu and the two lists on a real surface: what each tap hits by the
// rectangles the last frame stored, a turned surface leaving nothing stale,
// tiny surfaces, the pixels a player sees through the headless host, and the
// warning of a font that is missing at start-up.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/app.h"
#include "draw2d/iw2d.h"
#include "platform/binding.h"
#include "puzzles/board_state.h"
#include "puzzles/catalogue.h"
#include "services/device.h"
#include "storage/settings.h"
#include "tests/support/gl_surface.h"
#include "text/sdf_font.h"
#include "ui/images.h"
#include "ui/look.h"
#include "ui/main_menu.h"
#include "ui/puzzle_list.h"
#include "ui/size_list.h"

namespace {

using testsupport::GLSurface;
using testsupport::Picture;

class MenusOnSurface : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(surface.Ok()) << surface.Error();
        InitDrawing();
        CreateTechniques();
        g_font = CreateFont();
        ASSERT_TRUE(LoadFont(g_font, "images/calibri_new.fnt"));
        LoadImageSet();
        ApplyColorSchema(kSchemaLight);
        ASSERT_TRUE(PrepareStorage());
        menu.sizeClassTiles = static_cast<SizeClassTile*>(std::calloc(5, sizeof(SizeClassTile)));
        menu.sizeClassCount = 5;
        for (int32_t i = 0; i < 5; ++i)
            GetSizeClassName(i, menu.sizeClassTiles[i].label);
    }
    void TearDown() override {
        std::free(menu.sizeClassTiles);
        ReleaseSizeList(&sizes);
        ReleasePuzzleList(&puzzles);
        ReleaseImageSet();
        DestroyFont(g_font);
        g_font = nullptr;
        TerminateDrawing();
        points = 0;
        rate_redirected = 0;
        device.os = 0;
    }
    // One frame of a screen at a surface size, as the frame draws it.
    template <typename Draw>
    void Frame(int32_t w, int32_t h, Draw draw) {
        surfaceSize = {w, h};
        ClearSurface(palette.background);
        draw();
        ShowSurface();
    }

    GLSurface surface{480, 800, testsupport::GameDataDir()};
    MainMenuScreen menu{};
    SizeListScreen sizes{};
    PuzzleListScreen puzzles{};
};

#define EXPECT_HIT(hit, expectedTarget, expectedIndex) \
    do {                                               \
        const auto h_ = (hit);                         \
        EXPECT_EQ(h_.target, expectedTarget);          \
        EXPECT_EQ(h_.index, expectedIndex);            \
    } while (0)

TEST_F(MenusOnSurface, MainMenuTapsFollowTheOrderAndEdgesOfEachTarget) {
    points = 5;
    device.os = 18;
    Frame(480, 800, [&] { DrawMainMenu(&menu); });
    // Signs and promotion tiles count all four edges; the tiles only their left and top.
    EXPECT_HIT(HitMainMenu(&menu, 179 + 122, 601 + 60), kMenuRate, 0);
    EXPECT_HIT(HitMainMenu(&menu, 468, 630), kMenuHelp, 0);
    EXPECT_HIT(HitMainMenu(&menu, 469, 630), kMenuNone, 0);
    EXPECT_HIT(HitMainMenu(&menu, 12, 601), kMenuThemes, 0);
    EXPECT_HIT(HitMainMenu(&menu, 105, 795), kMenuCorner, 0);
    EXPECT_HIT(HitMainMenu(&menu, 52, 30), kMenuSizeClass, 0);
    EXPECT_HIT(HitMainMenu(&menu, 52 + 172, 100), kMenuNone, 0);  // right edge of tile 0
    EXPECT_HIT(HitMainMenu(&menu, 100, 30 + 172), kMenuNone, 0);  // bottom edge
    EXPECT_HIT(HitMainMenu(&menu, 256, 214), kMenuSizeClass, 3);
    EXPECT_HIT(HitMainMenu(&menu, 200, 450), kMenuSizeClass, 4);
    EXPECT_HIT(HitMainMenu(&menu, 375, 695), kMenuPromo, 0);
    EXPECT_HIT(HitMainMenu(&menu, 229, 795), kMenuPromo, 1);
    EXPECT_HIT(HitMainMenu(&menu, 251, 700), kMenuPromo, 2);

    // Four points: the Rate sign is gone, and so is its target.
    points = 4;
    Frame(480, 800, [&] { DrawMainMenu(&menu); });
    EXPECT_HIT(HitMainMenu(&menu, 240, 630), kMenuNone, 0);
    EXPECT_EQ(menu.rateSign.w, -1);

    // A surface without pixels leaves nothing to hit.
    Frame(0, 0, [&] { DrawMainMenu(&menu); });
    for (int32_t y = 0; y < 800; y += 7) {
        for (int32_t x = 0; x < 480; x += 7)
            ASSERT_EQ(HitMainMenu(&menu, x, y).target, kMenuNone) << x << "," << y;
    }
}

TEST_F(MenusOnSurface, ListTapsUseTheLastFrameAndItsScroll) {
    ASSERT_TRUE(BuildSizeList(&sizes, 3));  // "Large", 37 grid sizes
    Frame(480, 800, [&] { DrawSizeList(&sizes); });
    EXPECT_EQ(sizes.layout.scroll.maxScroll, 224);
    // The back button (379, 702, 96, 96): its top and right edges are outside,
    // and nothing else answers in the footer.
    EXPECT_HIT(HitSizeList(&sizes, 379, 702), kListNone, 0);
    EXPECT_HIT(HitSizeList(&sizes, 379, 703), kListBack, 0);
    EXPECT_HIT(HitSizeList(&sizes, 474, 797), kListBack, 0);
    EXPECT_HIT(HitSizeList(&sizes, 475, 750), kListNone, 0);
    EXPECT_HIT(HitSizeList(&sizes, 18, 20), kListEntry, 0);
    EXPECT_HIT(HitSizeList(&sizes, 166, 20), kListEntry, 1);  // entry 0's right edge is entry 1's
    EXPECT_HIT(HitSizeList(&sizes, 17, 20), kListNone, 0);
    EXPECT_HIT(HitSizeList(&sizes, 18, 88), kListEntry, 3);
    // Scrolled by one row (a drag in progress counts too).
    sizes.layout.scroll.scrollOffset = 40;
    sizes.layout.scroll.dragOffset = 28;
    Frame(480, 800, [&] { DrawSizeList(&sizes); });
    EXPECT_HIT(HitSizeList(&sizes, 18, 20), kListEntry, 3);
    EXPECT_HIT(HitSizeList(&sizes, 18, 699), kListEntry, 30);
    EXPECT_HIT(HitSizeList(&sizes, 18, 700), kListNone, 0);

    puzzles.sizeClass = 0;
    puzzles.gridIndex = 0;  // 10x10, 155 puzzles
    ASSERT_TRUE(BuildPuzzleList(&puzzles));
    Frame(480, 800, [&] { DrawPuzzleList(&puzzles); });
    // Entry 0 is (40, 10, 100, 100); all its edges are inside, and it comes first.
    EXPECT_HIT(HitPuzzleList(&puzzles, 140, 110), kListEntry, 0);
    EXPECT_HIT(HitPuzzleList(&puzzles, 141, 10), kListEntry, 1);
    EXPECT_HIT(HitPuzzleList(&puzzles, 39, 10), kListNone, 0);
    EXPECT_HIT(HitPuzzleList(&puzzles, 379, 703), kListBack, 0);
    EXPECT_HIT(HitPuzzleList(&puzzles, 40, 700), kListNone, 0);
}

TEST_F(MenusOnSurface, TurningTheSurfaceLeavesNothingStale) {
    ASSERT_TRUE(BuildSizeList(&sizes, 3));
    sizes.layout.scroll.scrollOffset = 224;  // scrolled to the end in portrait
    Frame(480, 800, [&] { DrawSizeList(&sizes); });
    ASSERT_EQ(sizes.layout.scroll.scrollOffset, 224);

    Frame(800, 480, [&] { DrawSizeList(&sizes); });
    const SizeListLayout turned = LayoutSizeList(800, 480, &sizes);
    EXPECT_EQ(sizes.layout.scroll.maxScroll, 164);
    EXPECT_EQ(sizes.layout.scroll.scrollOffset, 164);
    EXPECT_EQ(sizes.layout.footer.footerTop, 420);
    EXPECT_EQ(sizes.layout.footer.footerHeight, 60);
    EXPECT_EQ(sizes.layout.footer.backButton.x, 800 - 56 - 5);
    EXPECT_EQ(sizes.layout.footer.backButton.y, 422);
    ASSERT_EQ(sizes.layout.count, 37);
    for (int32_t i = 0; i < 37; ++i) {
        EXPECT_EQ(std::memcmp(&sizes.layout.entries[i], &turned.entries[i], sizeof(ScreenRect)), 0)
            << i;
    }
    // The last grid size, at the end of the turned list, is where a tap finds it.
    const ScreenRect& last = sizes.layout.entries[36];
    EXPECT_HIT(HitSizeList(&sizes, last.x + 1, last.y - 164 + 1), kListEntry, 36);

    // On a tablet everything fits: no scroll left over.
    Frame(1536, 2048, [&] { DrawSizeList(&sizes); });
    EXPECT_EQ(sizes.layout.scroll.maxScroll, 0);
    EXPECT_EQ(sizes.layout.scroll.scrollOffset, 0);
    EXPECT_EQ(sizes.layout.scroll.dragOffset, 0);

    // Surfaces too small for any metric draw every screen without a fault or
    // an endless shrink; one without pixels draws nothing and changes nothing.
    puzzles.sizeClass = 0;
    puzzles.gridIndex = 0;
    ASSERT_TRUE(BuildPuzzleList(&puzzles));
    puzzles.layout.scroll.scrollOffset = 3000;
    for (const auto& s : {std::make_pair(1, 1), {50, 800}, {110, 800}, {0, 0}}) {
        SCOPED_TRACE(testing::Message() << s.first << "x" << s.second);
        Frame(s.first, s.second, [&] { DrawMainMenu(&menu); });
        Frame(s.first, s.second, [&] { DrawSizeList(&sizes); });
        Frame(s.first, s.second, [&] { DrawPuzzleList(&puzzles); });
        EXPECT_LE(puzzles.layout.scroll.scrollOffset, puzzles.layout.scroll.maxScroll);
    }
    EXPECT_EQ(puzzles.layout.footer.footerTop, 700);  // as the 110 x 800 frame left it
    EXPECT_EQ(puzzles.layout.entries[1].y, puzzles.layout.entries[0].y + 100);  // one column
    EXPECT_EQ(menu.themesSign.w, -1);
}

// ---------------------------------------------------------------------------
// Through the headless host.

class MenusHeadless : public ::testing::Test {
  protected:
    void SetUp() override { dir_ = testsupport::MakeTempDir(); }
    void TearDown() override { testsupport::RemoveTree(dir_); }
    // Starts on a screen, takes one shot, and reads it.
    Picture Shot(const std::vector<std::string>& args, const std::string& name) {
        const std::string path = dir_ + "/" + name + ".png";
        std::vector<std::string> all = {"--storage", dir_ + "/storage"};
        all.insert(all.end(), args.begin(), args.end());
        const auto run = testsupport::RunHeadless("shot " + path + "\nquit\n", all);
        EXPECT_EQ(run.exitStatus, 0) << run.errors;
        EXPECT_EQ(run.log.find("warning"), std::string::npos) << run.log;
        Picture p;
        EXPECT_TRUE(testsupport::ReadPicture(path, &p)) << path;
        return p;
    }
    std::string dir_;
};

TEST_F(MenusHeadless, ThePlayerSeesPanelSignsFootersAndOutlines) {
    // Five solved puzzles on a phone bring the Rate sign.
    ASSERT_TRUE(testsupport::WriteFile(dir_ + "/storage/conf/points.pts", "5\n"));
    Picture menu = Shot({"--size", "480x800", "--os", "android", "--screen", "main"}, "menu");
    ASSERT_EQ(menu.width, 480);
    EXPECT_EQ(menu.At(14, 300), "237,177,105");  // the panel's frame, 6 wide from x = 12
    EXPECT_EQ(menu.At(11, 300), "236,240,241");  // the margin beside it
    EXPECT_EQ(menu.At(25, 300), "11,165,95");    // the green panel
    EXPECT_EQ(menu.At(16, 605), "218,84,78");    // the Themes sign's face
    EXPECT_EQ(menu.At(185, 605), "218,84,78");   // the Rate sign's face
    EXPECT_EQ(menu.At(72, 595), "158,113,95");   // the post above the Themes sign
    EXPECT_EQ(menu.At(72, 680), "158,113,95");   // and below it
    EXPECT_EQ(menu.At(4, 694), "60,74,89");      // the corner tile's two-pixel outline
    EXPECT_EQ(menu.At(5, 697), "60,74,89");

    // "Large" in Dark: two-pixel cell outlines, the footer and its line.
    ASSERT_TRUE(testsupport::WriteFile(dir_ + "/storage/conf/conf.cfg", "color_schema=1\n"));
    Picture sizes = Shot({"--size", "480x800", "--screen", "sizes", "--puzzle", "3"}, "sizes");
    EXPECT_EQ(sizes.At(100, 19), "236,240,241");  // the top outline of the first row
    EXPECT_EQ(sizes.At(100, 20), "236,240,241");
    EXPECT_EQ(sizes.At(100, 21), "60,74,89");    // Dark background inside the cell
    EXPECT_EQ(sizes.At(17, 50), "236,240,241");  // the left border, two pixels
    EXPECT_EQ(sizes.At(18, 50), "236,240,241");
    EXPECT_EQ(sizes.At(100, 700), "100,100,100");  // the footer's line
    EXPECT_EQ(sizes.At(100, 701), "100,100,100");
    EXPECT_EQ(sizes.At(200, 760), "255,255,255");  // the footer band
    EXPECT_EQ(sizes.At(478, 100), "30,144,255");   // the scroll bar's thumb at the top
    EXPECT_EQ(sizes.At(478, 650), "255,255,255");  // and its track further down

    // 3 puzzles of "Small" "20x10" stand in one centred row from x = 90.
    Picture list = Shot({"--size", "480x800", "--screen", "puzzles", "--puzzle", "1/4"}, "puzzles");
    const int top = (800 - 100 - 100) / 2;
    EXPECT_EQ(list.At(90, top + 50), "236,240,241");  // the outline's left edge
    EXPECT_EQ(list.At(89, top + 50), "236,240,241");
    EXPECT_EQ(list.At(190, top + 3), "236,240,241");  // a column boundary
    EXPECT_EQ(list.At(88, top + 50), "60,74,89");
    EXPECT_EQ(list.At(478, 100), "60,74,89");  // no scroll bar: the list fits
}

TEST(FontAtStartUp, AMissingFontIsReportedOnce) {
    GLSurface surface(120, 200);  // empty game data
    ASSERT_TRUE(surface.Ok()) << surface.Error();
    surface.onYield = [] { host::RequestQuit(); };
    ASSERT_EQ(IwAppEntry(nullptr), nullptr);
    int fontWarnings = 0;
    for (const std::string& w : surface.warnings) {
        if (w.find("calibri_new.fnt") != std::string::npos) ++fontWarnings;
    }
    EXPECT_EQ(fontWarnings, 1);
}

}  // namespace
