// The board tools on a laid-out board screen: the painting rule, toolbar
// edges, the legend, clue marks, the solved lock, and zoom and pan that never
// uncover the fitted board nor go below its cell size.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "tests/unit/board_fixture.h"
#include "ui/board_input.h"
#include "ui/board_screen.h"
#include "ui/board_view.h"
#include "ui/look.h"

namespace {

using boardfixture::TestBoard;

struct Point {
    int32_t x, y;
};
Point Centre(const ScreenRect& r) {
    return {r.x + r.w / 2, r.y + r.h / 2};
}

const std::vector<std::string> kPicture = {
    "##..#", "#.#..", ".###.", "....#", "#####", "#...#", ".#.#.",
};

class BoardTools : public ::testing::Test {
  protected:
    void SetUp() override {
        surfaceSize = {480, 800};
        screen_ = {};
        screen_.progress.board = board_.get();
        screen_.layout = LayoutBoardScreen(480, 800, board_.get(), false);
        screen_.viewRect = screen_.layout.fitRect;
        screen_.cellSize = static_cast<float>(screen_.layout.fitCellSize);
        screen_.activeTool = CellFilled;
    }
    // The centre of grid cell (r, c) as the last frame drew it.
    int32_t X(int c) {
        return screen_.viewRect.x +
               static_cast<int32_t>((board_->maxRowClues + c + 0.5f) * screen_.cellSize);
    }
    int32_t Y(int r) {
        return screen_.viewRect.y +
               static_cast<int32_t>((board_->maxColClues + r + 0.5f) * screen_.cellSize);
    }
    bool Covers() const {
        const ScreenRect v = screen_.viewRect, f = screen_.layout.fitRect;
        return v.x <= f.x && v.y <= f.y && v.x + v.w >= f.x + f.w && v.y + v.h >= f.y + f.h;
    }

    TestBoard board_{kPicture};
    BoardScreen screen_{};
};

TEST_F(BoardTools, DrawingAndSetXFillOnlyEmptyCellsEraseEmptiesAny) {
    EXPECT_TRUE(PaintAt(&screen_, X(0), Y(0)));
    EXPECT_EQ(board_.Cell(0, 0), CellFilled);
    EXPECT_FALSE(PaintAt(&screen_, X(0), Y(0)));
    screen_.activeTool = CellCross;
    EXPECT_FALSE(PaintAt(&screen_, X(0), Y(0)));  // a filled cell does not become an X
    EXPECT_TRUE(PaintAt(&screen_, X(1), Y(0)));
    EXPECT_EQ(board_.Cell(0, 1), CellCross);
    screen_.activeTool = CellFilled;
    EXPECT_FALSE(PaintAt(&screen_, X(1), Y(0)));
    screen_.activeTool = CellEmpty;
    EXPECT_TRUE(PaintAt(&screen_, X(1), Y(0)));
    EXPECT_TRUE(PaintAt(&screen_, X(0), Y(0)));
    EXPECT_EQ(board_.Cell(0, 0), CellEmpty);
    EXPECT_EQ(board_.Cell(0, 1), CellEmpty);
    EXPECT_TRUE(screen_.progress.cellsDirty);
    // Outside the grid, in the clue bands, nothing is painted.
    screen_.activeTool = CellFilled;
    EXPECT_FALSE(PaintAt(&screen_, screen_.viewRect.x + 1, Y(0)));
    EXPECT_FALSE(PaintAt(&screen_, X(0), screen_.viewRect.y + screen_.viewRect.h + 3));
}

TEST_F(BoardTools, TapsHitButtonsInsideTheirEdgesLetTheLegendSwallowOneAndToggleClues) {
    const ScreenRect erase = screen_.layout.buttons[kButtonErase];
    EXPECT_EQ(TapBoard(&screen_, erase.x, erase.y + erase.h / 2), kTapNothing);
    EXPECT_EQ(screen_.activeTool, CellFilled);  // the edge misses
    TapBoard(&screen_, erase.x + 1, erase.y + erase.h / 2);
    EXPECT_EQ(screen_.activeTool, CellEmpty);

    TapBoard(&screen_, Centre(screen_.layout.buttons[kButtonLegend]).x,
             Centre(screen_.layout.buttons[kButtonLegend]).y);
    EXPECT_TRUE(screen_.legendShown);
    TapBoard(&screen_, Centre(screen_.layout.buttons[kButtonDraw]).x,
             Centre(screen_.layout.buttons[kButtonDraw]).y);
    EXPECT_FALSE(screen_.legendShown);
    EXPECT_EQ(screen_.activeTool, CellEmpty);  // the tap only hid the legend
    EXPECT_EQ(TapBoard(&screen_, Centre(screen_.layout.buttons[kButtonBack]).x,
                       Centre(screen_.layout.buttons[kButtonBack]).y),
              kTapBack);
    EXPECT_EQ(TapBoard(&screen_, Centre(screen_.layout.buttons[kButtonClearAll]).x,
                       Centre(screen_.layout.buttons[kButtonClearAll]).y),
              kTapClearAll);

    // Row 0 has the clues 2 1, right-aligned: the cell left of the grid is its last clue.
    const int32_t clueX = X(-1), clueY = Y(0);
    const std::vector<uint8_t> before = board_.ClueBytes();
    TapBoard(&screen_, clueX, clueY);
    EXPECT_EQ(board_->rowClues[0].values[1], 1 + ClueMarkOffset);
    EXPECT_TRUE(screen_.progress.marksDirty);
    TapBoard(&screen_, clueX, clueY);
    EXPECT_EQ(board_.ClueBytes(), before);
    // Row 3 has one clue: the empty place left of it takes a tap and does nothing.
    const std::vector<uint8_t> cells = board_.CellBytes();
    TapBoard(&screen_, X(-2), Y(3));
    EXPECT_EQ(board_.ClueBytes(), before);
    EXPECT_EQ(board_.CellBytes(), cells);
}

TEST_F(BoardTools, ZoomAndPanStayBetweenFitAndTheCapAndAlwaysCoverTheFittedBoard) {
    // Not in Scale & Move mode, or at fit, nothing moves.
    EXPECT_FALSE(PinchZoom(&screen_, -60, 60, -60, 60, 1));
    screen_.moveScaleMode = 1;
    EXPECT_FALSE(PanBy(&screen_, 40, -40));
    EXPECT_FALSE(PinchZoom(&screen_, 30, -30, 30, -30, -1));
    EXPECT_EQ(screen_.viewRect.w, screen_.layout.fitRect.w);

    std::mt19937 random(7);
    std::uniform_int_distribution<int32_t> move(-400, 400);
    bool reachedCap = false;
    for (int i = 0; i < 400; ++i) {
        if (i % 3 == 0) {
            PanBy(&screen_, move(random), move(random));
        } else {
            // Mostly spreading, so the zoom reaches its cap on the way.
            const int32_t d = i < 200 ? std::abs(move(random)) * 100 : move(random);
            PinchZoom(&screen_, -d, d, -d, d, d >= 0 ? 1 : -1);
        }
        ASSERT_TRUE(Covers()) << "step " << i;
        ASSERT_GE(screen_.cellSize, screen_.layout.fitCellSize) << "step " << i;
        ASSERT_LE(screen_.cellSize, kMaxZoomCellSize) << "step " << i;
        reachedCap = reachedCap || screen_.cellSize == kMaxZoomCellSize;
    }
    EXPECT_TRUE(reachedCap);

    // Zoomed in, the board lies under the toolbar strip; painting stops there.
    screen_.moveScaleMode = 0;
    const int32_t stripY = 800 - screen_.layout.toolbarSize + 2;
    int32_t row = 0, col = 0;
    ASSERT_TRUE(CellAt(&screen_, 240, stripY, &row, &col));
    EXPECT_FALSE(PaintAt(&screen_, 240, stripY));
}

TEST_F(BoardTools, ASolvedBoardRefusesPaintUndoPanAndZoomButKeepsItsToolbar) {
    EXPECT_TRUE(PaintAt(&screen_, X(0), Y(0)));
    board_->solved = 1;
    screen_.moveScaleMode = 1;
    EXPECT_FALSE(PressPaint(&screen_, X(2), Y(0), true));
    UndoStep(&screen_);
    EXPECT_EQ(board_.Cell(0, 0), CellFilled);
    EXPECT_FALSE(PinchZoom(&screen_, -600, 600, -600, 600, 1));
    TapBoard(&screen_, Centre(screen_.layout.buttons[kButtonCross]).x,
             Centre(screen_.layout.buttons[kButtonCross]).y);
    EXPECT_EQ(screen_.activeTool, CellCross);
    board_->solved = 0;
    UndoStep(&screen_);
    EXPECT_EQ(board_.Cell(0, 0), CellEmpty);
}

}  // namespace
