// The main menu, size list and puzzle list layouts as pure arithmetic: the
// worked examples, the Rate sign's rule, scroll limits after a rotation, and
// surfaces too small for any metric.
#include <gtest/gtest.h>

#include "puzzles/catalogue.h"
#include "ui/main_menu.h"
#include "ui/puzzle_list.h"
#include "ui/size_list.h"

namespace {

void ExpectRect(const ScreenRect& r, int32_t x, int32_t y, int32_t w, int32_t h) {
    EXPECT_EQ(r.x, x);
    EXPECT_EQ(r.y, y);
    EXPECT_EQ(r.w, w);
    EXPECT_EQ(r.h, h);
}

TEST(MainMenuLayout, PortraitPhoneShrinksToTheWorkedExample) {
    const MainMenuLayout l = LayoutMainMenu(480, 800, true);
    const MenuMetrics& m = l.metrics;
    EXPECT_TRUE(l.portrait);
    EXPECT_EQ(m.tileW, 172);
    EXPECT_EQ(m.tileH, 172);
    EXPECT_EQ(m.frame, 6);
    EXPECT_EQ(m.marginX, 12);
    EXPECT_EQ(m.marginTop, 12);
    EXPECT_EQ(m.signW, 122);
    EXPECT_EQ(m.signH, 60);
    EXPECT_EQ(m.tileGapX, 33);
    EXPECT_EQ(m.panelPadX, 33);
    EXPECT_EQ(m.tileGapY, 12);
    EXPECT_EQ(m.panelPadY, 12);
    EXPECT_EQ(l.promoGap, 11);
    ExpectRect(l.themesSign, 12, 601, 122, 60);
    ExpectRect(l.helpSign, 346, 601, 122, 60);
    ExpectRect(l.rateSign, 179, 601, 122, 60);  // centred
    // Rows of two, the fifth tile alone and centred in the third row.
    ExpectRect(l.tiles[0], 52, 30, 172, 172);
    ExpectRect(l.tiles[3], 256, 214, 172, 172);
    ExpectRect(l.tiles[4], 154, 398, 172, 172);
    // The panel holds the tiles with its pads, and ends above the posts.
    ExpectRect(l.panel, 12, 12, 456, 3 * 172 + 2 * (6 + 12 + 12));
    EXPECT_LE(l.panel.y + l.panel.h, l.posts[0].y);
    ExpectRect(l.promoCorner, 5, 695, 100, 100);
    ExpectRect(l.promoTiles[0], 375, 695, 100, 100);
    ExpectRect(l.promoTiles[1], 129, 695, 100, 100);
    ExpectRect(l.promoTiles[2], 251, 695, 100, 100);

    // Landscape: rows of three and two, centred on the middle.
    const MainMenuLayout land = LayoutMainMenu(2048, 1536, false);
    EXPECT_FALSE(land.portrait);
    EXPECT_EQ(land.metrics.tileW, 256);  // nothing had to shrink
    EXPECT_EQ(land.tiles[2].y, land.tiles[0].y);
    EXPECT_EQ(land.tiles[3].y, land.tiles[0].y + 256 + land.metrics.tileGapY);
    EXPECT_EQ(land.tiles[1].x + 128, 1024);
}

TEST(MainMenuLayout, ThirdPromotionTileFromWidth426AndRateSignRule) {
    const MainMenuLayout narrow = LayoutMainMenu(425, 800, false);
    ExpectRect(narrow.promoTiles[1], 162, 695, 100, 100);
    ExpectRect(narrow.promoTiles[2], -1, -1, -1, -1);
    ExpectRect(narrow.rateSign, -1, -1, -1, -1);
    const MainMenuLayout wide = LayoutMainMenu(426, 800, false);
    EXPECT_EQ(wide.promoGap, 2);
    ExpectRect(wide.promoTiles[1], 111, 695, 100, 100);
    ExpectRect(wide.promoTiles[2], 215, 695, 100, 100);

    // (rate_redirected, points, the device's system, s3eDebugGetInt(0))
    EXPECT_FALSE(RateSignShown(0, 4, 18, 0));
    EXPECT_TRUE(RateSignShown(0, 5, 18, 0));
    EXPECT_TRUE(RateSignShown(0, 5, 14, 0));
    EXPECT_FALSE(RateSignShown(1, 5, 18, 0));  // used once: gone for good
    EXPECT_FALSE(RateSignShown(0, 5, 3, 0));   // the simulator only with its switch
    EXPECT_TRUE(RateSignShown(0, 5, 3, 1));
}

SizeListScreen SizeListOf(int32_t count, int32_t scrollOffset = 0, int32_t dragOffset = 0) {
    SizeListScreen s{};
    s.count = count;
    s.layout.scroll.scrollOffset = scrollOffset;
    s.layout.scroll.dragOffset = dragOffset;
    return s;
}

PuzzleListScreen PuzzleListOf(int32_t count, int32_t scrollOffset = 0) {
    PuzzleListScreen s{};
    s.count = count;
    s.layout.scroll.scrollOffset = scrollOffset;
    return s;
}

TEST(SizeListLayout, LargeOnAPhoneAndOnALaptop) {
    const SizeListScreen large = SizeListOf(37);  // "Large"
    const SizeListLayout phone = LayoutSizeList(480, 800, &large);
    EXPECT_EQ(phone.cellW, 148);  // 800 is not above 800
    EXPECT_EQ(phone.cellH, 68);
    EXPECT_EQ(phone.cols, 3);
    EXPECT_EQ(phone.rows, 13);
    EXPECT_EQ(phone.spare, 36);
    EXPECT_EQ(phone.top, 20);
    ExpectRect(phone.entries[0], 18, 20, 148, 68);
    ExpectRect(phone.entries[35], 314, 20 + 11 * 68, 148, 68);
    ExpectRect(phone.entries[36], 166, 20 + 12 * 68, 148, 68);  // the short last row, centred
    EXPECT_EQ(phone.footer.footerHeight, 100);
    EXPECT_EQ(phone.footer.footerTop, 700);
    ExpectRect(phone.footer.backButton, 379, 702, 96, 96);
    EXPECT_EQ(phone.scroll.maxScroll, 224);

    const SizeListLayout laptop = LayoutSizeList(1280, 720, &large);
    EXPECT_EQ(laptop.cellW, 296);
    EXPECT_EQ(laptop.cellH, 136);
    EXPECT_EQ(laptop.cols, 4);
    EXPECT_EQ(laptop.entries[0].x, 48);
    EXPECT_EQ(laptop.entries[3].x, 48 + 3 * 296);
    EXPECT_EQ(laptop.footer.footerHeight, 90);

    // A class that fits stands centred in the room above the footer.
    const SizeListScreen xsmall = SizeListOf(4, 50, 10);
    const SizeListLayout few = LayoutSizeList(480, 800, &xsmall);
    EXPECT_EQ(few.top, (800 - 2 * 68 - 100) / 2);
    ExpectRect(few.entries[3], 166, few.top + 68, 148, 68);
    EXPECT_EQ(few.scroll.maxScroll, 0);
    EXPECT_EQ(few.scroll.scrollOffset, 0);  // offsets left from a longer list are dropped
    EXPECT_EQ(few.scroll.dragOffset, 0);
}

TEST(PuzzleListLayout, ShortListsAndTheSingleRowRule) {
    const PuzzleListScreen three = PuzzleListOf(3);
    const PuzzleListLayout a = LayoutPuzzleList(480, 800, &three);
    EXPECT_EQ(a.cols, 4);
    EXPECT_EQ(a.entries[0].x, 90);
    EXPECT_EQ(a.entries[1].x, 190);
    EXPECT_EQ(a.entries[2].x, 290);
    EXPECT_EQ(a.top, (800 - 100 - 100) / 2);

    const PuzzleListScreen five = PuzzleListOf(5);
    const PuzzleListLayout b = LayoutPuzzleList(480, 800, &five);
    EXPECT_EQ(b.rows, 2);
    ExpectRect(b.entries[0], 40, b.top, 100, 100);
    ExpectRect(b.entries[3], 340, b.top, 100, 100);
    ExpectRect(b.entries[4], 40, b.top + 100, 100, 100);  // not centred

    // The longest grid size scrolls with a margin of 10 below its last row.
    const PuzzleListScreen longest = PuzzleListOf(155);
    const PuzzleListLayout c = LayoutPuzzleList(480, 800, &longest);
    EXPECT_EQ(c.rows, 39);
    EXPECT_EQ(c.top, 10);
    EXPECT_EQ(c.scroll.maxScroll, 100 + 10 + (10 + 3900) - 800);
}

TEST(ListLayout, RotationClampsTheOffsetsToTheNewLimit) {
    // A drag in progress keeps the total within [0, maxScroll].
    const SizeListScreen dragging = SizeListOf(37, 100, 150);
    const SizeListLayout d = LayoutSizeList(800, 480, &dragging);
    EXPECT_EQ(d.scroll.scrollOffset, 100);
    EXPECT_EQ(d.scroll.scrollOffset + d.scroll.dragOffset, d.scroll.maxScroll);

    // The longest puzzle list at its end in portrait (maxScroll 3220), turned.
    const PuzzleListScreen puzzles = PuzzleListOf(155, 3220);
    const PuzzleListLayout p = LayoutPuzzleList(800, 480, &puzzles);
    EXPECT_EQ(p.scroll.maxScroll, 60 + 10 + (10 + 23 * 100) - 480);
    EXPECT_EQ(p.scroll.scrollOffset, p.scroll.maxScroll);
    // On a tablet it fits: nothing is left scrolled.
    const PuzzleListLayout t = LayoutPuzzleList(1536, 2048, &puzzles);
    EXPECT_EQ(t.scroll.maxScroll, 0);
    EXPECT_EQ(t.scroll.scrollOffset, 0);
}

TEST(ScreenLayouts, TinySurfacesLayOutWithoutDividingByZeroOrLooping) {
    const SizeListScreen sizes = SizeListOf(37, 500, -20);
    const PuzzleListScreen puzzles = PuzzleListOf(155, 500);
    const int32_t surfaces[][2] = {{0, 0}, {1, 1}, {50, 800}, {110, 800}, {800, 50}, {-5, -5}};
    for (const auto& s : surfaces) {
        SCOPED_TRACE(testing::Message() << s[0] << "x" << s[1]);
        const MainMenuLayout menu = LayoutMainMenu(s[0], s[1], true);
        EXPECT_GE(menu.metrics.frame, 2);
        const SizeListLayout sl = LayoutSizeList(s[0], s[1], &sizes);
        EXPECT_GE(sl.cols, 1);
        EXPECT_GE(sl.cellW, 1);
        EXPECT_EQ(sl.count, 37);
        EXPECT_GE(sl.scroll.scrollOffset, 0);
        EXPECT_LE(sl.scroll.scrollOffset + sl.scroll.dragOffset, sl.scroll.maxScroll);
        EXPECT_GE(sl.scroll.scrollOffset + sl.scroll.dragOffset, 0);
        const PuzzleListLayout pl = LayoutPuzzleList(s[0], s[1], &puzzles);
        EXPECT_GE(pl.cols, 1);
        EXPECT_EQ(pl.rows, (155 + pl.cols - 1) / pl.cols);
        EXPECT_LE(pl.scroll.scrollOffset, pl.scroll.maxScroll);
    }
    // 110 pixels wide: cells of 100, one column, not zero.
    const PuzzleListLayout narrow = LayoutPuzzleList(110, 800, &puzzles);
    EXPECT_EQ(narrow.cols, 1);
    EXPECT_EQ(narrow.entries[1].y, narrow.entries[0].y + 100);
}

TEST(ListLayout, EveryListOfTheCatalogueFitsTheRectangleArrays) {
    for (int32_t c = 0; c < GetSizeClassCount(); ++c) {
        EXPECT_LE(GetGridSizeCount(c), kListEntryMax);
        for (int32_t g = 0; g < GetGridSizeCount(c); ++g) {
            GridSizeInfo info{};
            ASSERT_TRUE(GetGridSizeInfo(c, g, &info));
            EXPECT_LE(info.puzzleCount, kListEntryMax) << info.label;
        }
    }
}

}  // namespace
