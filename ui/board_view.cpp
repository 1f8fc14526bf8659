// The board screen's layout, drawing and hit tests.
#include "ui/board_view.h"

#include <algorithm>
#include <cstdint>

#include "board/board.h"
#include "draw2d/iw2d.h"
#include "storage/decimal.h"
#include "text/sdf_font.h"
#include "ui/images.h"
#include "ui/look.h"
#include "ui/text_fit.h"

namespace {

// ===========================================================================
// Layout

constexpr int32_t kMargin = 10;
constexpr int32_t kToolbarMax = 100;
constexpr int32_t kButtonGapStart = 10;
constexpr int32_t kClueMarkMinTwoPixels = 20;  // a strike is two pixels thick above this cell size

int32_t TotalCols(const Board* board) {
    return board && board->cols > 0 ? std::max(board->maxRowClues, 0) + board->cols : 1;
}
int32_t TotalRows(const Board* board) {
    return board && board->rows > 0 ? std::max(board->maxColClues, 0) + board->rows : 1;
}

// The order the buttons follow each other along the toolbar.
constexpr ToolbarButton kToolbarOrder[kToolbarButtonCount] = {
    kButtonDraw, kButtonErase,    kButtonCross,  kButtonMoveScale,
    kButtonUndo, kButtonClearAll, kButtonLegend, kButtonBack,
};

// ===========================================================================
// Drawing

SdfFont* Font() {
    return g_font && g_font->loaded ? g_font : nullptr;
}

// The screen's text set-up: softer edges and the line spacing of every screen.
void SetUpText(SdfFont* font, float boxW, float boxH, uint16_t flags, ColourWord colour,
               float scale) {
    SetTextBox(font, boxW, boxH, flags, colour, scale);
    font->style = kStyleSoft;
    font->lineSpacing = 0.8f;
}

bool ClueFits(float width, float height, const void* context) {
    const float cell = *static_cast<const float*>(context);
    return 1.5f * width < cell && 1.2f * height < cell;
}

bool LegendLetterFits(float, float height, const void* context) {
    return height < static_cast<float>(*static_cast<const int32_t*>(context));
}

// Two-pixel frame: the outline and the outline grown by a pixel on every side.
void DrawFrame(const ScreenRect& r) {
    const float x = static_cast<float>(r.x), y = static_cast<float>(r.y);
    const float w = static_cast<float>(r.w), h = static_cast<float>(r.h);
    DrawRect(x, y, w, h);
    DrawRect(x - 1, y - 1, w + 2, h + 2);
}

void DrawImageIn(CIw2DImage* image, const ScreenRect& r) {
    DrawImage(image, static_cast<float>(r.x), static_cast<float>(r.y), static_cast<float>(r.w),
              static_cast<float>(r.h));
}

// What a frame of the board draws from: the screen's view and the board.
struct BoardFrame {
    const Board* board;
    int32_t width, height;
    float vx, vy;      // viewRect's corner
    int32_t vw, vh;    // viewRect's size
    float cell;        // cellSize
    int32_t bandCols;  // maxRowClues
    int32_t bandRows;  // maxColClues
    int32_t totalCols, totalRows;

    float X(int32_t col) const { return vx + static_cast<float>(col) * cell; }
    float Y(int32_t row) const { return vy + static_cast<float>(row) * cell; }
    // Whether the cell box at the truncated position (x, y) is at least partly on the surface.
    bool Visible(int32_t x, int32_t y) const {
        return static_cast<float>(x) + cell > 0.0f && static_cast<float>(y) + cell > 0.0f &&
               x < width && y < height;
    }
    // The first and last+1 grid columns (rows) whose cells reach the surface.
    void VisibleSpan(float origin, int32_t count, int32_t limit, int32_t* first,
                     int32_t* end) const {
        int64_t a = static_cast<int64_t>((-cell - origin) / cell);
        int64_t b = static_cast<int64_t>((static_cast<float>(limit) - origin) / cell) + 1;
        *first = static_cast<int32_t>(std::clamp<int64_t>(a, 0, count));
        *end = static_cast<int32_t>(std::clamp<int64_t>(b, 0, count));
    }
};

void DrawClueBands(const BoardFrame& f) {
    SetDrawColour(palette.clueBand);
    FillRect(f.vx, f.vy, static_cast<float>(f.totalCols) * f.cell,
             static_cast<float>(f.bandRows) * f.cell);
    FillRect(f.vx, f.vy, static_cast<float>(f.bandCols) * f.cell,
             static_cast<float>(f.totalRows) * f.cell);
    FlushDrawing();
}

void DrawFilledCells(const BoardFrame& f) {
    const Board* b = f.board;
    SetDrawColour(palette.filledCell);
    const float gx0 = f.X(f.bandCols), gy0 = f.Y(f.bandRows);
    int32_t r0, r1, c0, c1;
    f.VisibleSpan(gy0, b->rows, f.height, &r0, &r1);
    f.VisibleSpan(gx0, b->cols, f.width, &c0, &c1);
    for (int32_t r = r0; r < r1; ++r) {
        const uint8_t* row = b->cells + r * kBoardMaxSide;
        // A run of filled cells is one rectangle: the same pixels as its squares.
        for (int32_t c = c0; c < c1;) {
            if (row[c] != CellFilled) {
                ++c;
                continue;
            }
            int32_t end = c + 1;
            while (end < c1 && row[end] == CellFilled)
                ++end;
            FillRect(f.X(f.bandCols + c), f.Y(f.bandRows + r), static_cast<float>(end - c) * f.cell,
                     f.cell);
            c = end;
        }
    }
}

void DrawGridLines(const BoardFrame& f) {
    SetDrawColour(palette.gridLine);
    const float top = f.vy - 1, bottom = f.vy + static_cast<float>(f.vh) + 1;
    for (int32_t i = 0; i <= f.totalCols; ++i) {
        const float x = f.X(i);
        DrawLine(x, top, x, bottom);
        if (IsThickLine(i, f.totalCols, f.bandCols)) {
            DrawLine(x - 1, top, x - 1, bottom);
            DrawLine(x + 1, top, x + 1, bottom);
        }
    }
    const float left = f.vx, right = f.vx + static_cast<float>(f.vw);
    for (int32_t j = 0; j <= f.totalRows; ++j) {
        const float y = f.Y(j);
        DrawLine(left, y, right, y);
        if (IsThickLine(j, f.totalRows, f.bandRows)) {
            DrawLine(left - 1, y - 1, right + 1, y - 1);
            DrawLine(left - 1, y + 1, right + 1, y + 1);
        }
    }
}

// Which clue lines a pass goes through.
enum ClueLines { kColumnClues = 1, kRowClues = 2, kAllClues = 3 };

// Calls visit(col, row, clueByte) for every clue cell, columns first, then rows.
template <typename Visit>
void ForEachClueCell(const BoardFrame& f, Visit visit, int lines = kAllClues) {
    const Board* b = f.board;
    for (int32_t c = 0; c < b->cols && (lines & kColumnClues); ++c) {
        const ClueLine& line = b->colClues[c];
        const int32_t n = line.values ? line.count : 0;
        for (int32_t k = 0; k < n; ++k)
            visit(f.bandCols + c, f.bandRows - n + k, line.values[k]);
    }
    for (int32_t r = 0; r < b->rows && (lines & kRowClues); ++r) {
        const ClueLine& line = b->rowClues[r];
        const int32_t n = line.values ? line.count : 0;
        for (int32_t k = 0; k < n; ++k)
            visit(f.bandCols - n + k, f.bandRows + r, line.values[k]);
    }
}

// The same few texts are drawn hundreds of times a frame: each is laid out
// once and then only moved, which the font does without laying it out again.
class RepeatedTexts {
  public:
    RepeatedTexts() = default;
    RepeatedTexts(const RepeatedTexts&) = delete;
    RepeatedTexts& operator=(const RepeatedTexts&) = delete;
    ~RepeatedTexts() {
        for (TextMesh* m : meshes_)
            FreeTextMesh(m);
    }
    void Draw(SdfFont* font, uint8_t slot, float x, float y, const char* text) {
        if (LayoutText(font, &meshes_[slot], x, y, text)) RenderText(font, meshes_[slot]);
    }

  private:
    TextMesh* meshes_[256] = {};
};

void DrawClueNumbers(SdfFont* font, const BoardFrame& f, int lines = kAllClues) {
    RepeatedTexts numbers;
    const auto draw = [&](int32_t col, int32_t row, uint8_t value) {
        const int32_t x = static_cast<int32_t>(f.X(col));
        const int32_t y = static_cast<int32_t>(f.Y(row));
        if (!f.Visible(x, y)) return;
        char text[kDecimalBufferSize];
        FormatDecimal(value, text, sizeof text);
        numbers.Draw(font, value, static_cast<float>(x), static_cast<float>(y), text);
    };
    // Single digits: one batch, one draw.
    GlyphBatch* batch = CreateGlyphBatch(static_cast<uint16_t>(f.board->clueGlyphCount));
    SetGlyphBatch(font, batch);
    ForEachClueCell(
        f,
        [&](int32_t col, int32_t row, uint8_t clue) {
            if (clue < 10) draw(col, row, clue);
        },
        lines);
    FlushGlyphBatch(font, batch);
    SetGlyphBatch(font, nullptr);
    // Two digits and struck-out clues, one by one.
    ForEachClueCell(
        f,
        [&](int32_t col, int32_t row, uint8_t clue) {
            if (clue > 9) draw(col, row, ClueValue(clue));
        },
        lines);
}

void DrawCrosses(SdfFont* font, const BoardFrame& f) {
    font->colour = palette.crossMark;
    const Board* b = f.board;
    const float gx0 = f.X(f.bandCols), gy0 = f.Y(f.bandRows);
    // Cells wholly off the surface would draw nothing: they are not laid out.
    int32_t r0, r1, c0, c1;
    f.VisibleSpan(gy0, b->rows, f.height, &r0, &r1);
    f.VisibleSpan(gx0, b->cols, f.width, &c0, &c1);
    RepeatedTexts cross;
    for (int32_t r = r0; r < r1; ++r) {
        const uint8_t* row = b->cells + r * kBoardMaxSide;
        for (int32_t c = c0; c < c1; ++c) {
            if (row[c] == CellCross)
                cross.Draw(font, 0, f.X(f.bandCols + c), f.Y(f.bandRows + r), "X");
        }
    }
}

void DrawStrikes(const BoardFrame& f, int lines = kAllClues) {
    SetDrawColour(palette.gridLine);
    const float half = f.cell / 2;
    const bool twoPixels = f.cell > kClueMarkMinTwoPixels;
    ForEachClueCell(
        f,
        [&](int32_t col, int32_t row, uint8_t clue) {
            if (clue < ClueMarkOffset) return;
            const float x = f.X(col), y = f.Y(row);
            DrawLine(x, y + half, x + f.cell, y + half);
            if (twoPixels) DrawLine(x, y + half - 1, x + f.cell, y + half - 1);
        },
        lines);
}

// A pinned band: the band's fill and its part of the grid lines, as the band
// looks in place: cols x rows cells from the frame's cell (col0, row0).
void DrawBandCells(const BoardFrame& f, int32_t col0, int32_t row0, int32_t cols, int32_t rows) {
    const float x0 = f.X(col0), y0 = f.Y(row0);
    const float w = static_cast<float>(cols) * f.cell, h = static_cast<float>(rows) * f.cell;
    SetDrawColour(palette.clueBand);
    FillRect(x0, y0, w, h);
    SetDrawColour(palette.gridLine);
    for (int32_t i = col0; i <= col0 + cols; ++i) {
        const float x = f.X(i);
        DrawLine(x, y0 - 1, x, y0 + h + 1);
        if (IsThickLine(i, f.totalCols, f.bandCols)) {
            DrawLine(x - 1, y0 - 1, x - 1, y0 + h + 1);
            DrawLine(x + 1, y0 - 1, x + 1, y0 + h + 1);
        }
    }
    for (int32_t j = row0; j <= row0 + rows; ++j) {
        const float y = f.Y(j);
        DrawLine(x0, y, x0 + w, y);
        if (IsThickLine(j, f.totalRows, f.bandRows)) {
            DrawLine(x0 - 1, y - 1, x0 + w + 1, y - 1);
            DrawLine(x0 - 1, y + 1, x0 + w + 1, y + 1);
        }
    }
}

// The pinned bands over the cells: the top band (its clues, its strikes),
// then the left band over it, then their shared corner over both. Shapes and
// texts alternate as few times as that order allows.
void DrawPinnedBands(SdfFont* font, const BoardFrame& f, const ClueBandPins& pins) {
    BoardFrame top = f, left = f;
    top.vy = pins.topY;
    left.vx = pins.leftX;
    if (pins.top) {
        DrawBandCells(top, 0, 0, f.totalCols, f.bandRows);
        if (font) {
            font->colour = palette.clueText;
            DrawClueNumbers(font, top, kColumnClues);
        }
        DrawStrikes(top, kColumnClues);
    }
    if (pins.left) {
        DrawBandCells(left, 0, 0, f.bandCols, f.totalRows);
        if (font) {
            font->colour = palette.clueText;
            DrawClueNumbers(font, left, kRowClues);
        }
        DrawStrikes(left, kRowClues);
    }
    if (pins.top && pins.left) {
        BoardFrame corner = f;
        corner.vx = pins.leftX;
        corner.vy = pins.topY;
        DrawBandCells(corner, 0, 0, f.bandCols, f.bandRows);
    }
}

void DrawBadge(const BoardFrame& f) {
    SetDrawColour(kColourWhite);
    const float bandW = static_cast<float>(f.bandCols) * f.cell;
    const float bandH = static_cast<float>(f.bandRows) * f.cell;
    const int32_t side = static_cast<int32_t>(std::min({128.0f, bandW, bandH}));
    if (side <= 0) return;
    const float s = static_cast<float>(side);
    DrawImage(imageSet.completedSolid, f.vx + (bandW - s) / 2, f.vy + (bandH - s) / 2, s, s);
}

void DrawBoard(BoardScreen* screen, const BoardLayout& layout) {
    const Board* b = screen->progress.board;
    BoardFrame f{};
    f.board = b;
    f.width = layout.width;
    f.height = layout.height;
    f.vx = static_cast<float>(screen->viewRect.x);
    f.vy = static_cast<float>(screen->viewRect.y);
    f.vw = screen->viewRect.w;
    f.vh = screen->viewRect.h;
    f.cell = screen->cellSize;
    f.bandCols = b->maxRowClues;
    f.bandRows = b->maxColClues;
    f.totalCols = layout.totalCols;
    f.totalRows = layout.totalRows;
    if (!(f.cell > 0.0f) || !b->rowClues || !b->colClues) return;

    SdfFont* font = Font();
    if (font) {
        SetUpText(font, f.cell, f.cell, kLayoutCentre | kLayoutCentreV, palette.clueText, 3.0f);
        FitTextScale(font, "89", 3.0f, 0.1f, &ClueFits, &f.cell);
    }
    DrawClueBands(f);
    DrawFilledCells(f);
    DrawGridLines(f);
    if (font) DrawClueNumbers(font, f);
    if (b->solved) {
        DrawBadge(f);
        return;
    }
    if (font) DrawCrosses(font, f);
    DrawStrikes(f);
    const ClueBandPins pins = PinClueBands(screen);
    if (pins.top || pins.left) DrawPinnedBands(font, f, pins);
}

void DrawToolbar(const BoardScreen* screen, const BoardLayout& layout) {
    const bool solved = screen->progress.board && screen->progress.board->solved;
    SetDrawColour(palette.background);
    const ScreenRect& strip = layout.strip;
    FillRect(static_cast<float>(strip.x), static_cast<float>(strip.y), static_cast<float>(strip.w),
             static_cast<float>(strip.h));
    SetDrawColour(kColourWhite);
    DrawImageIn(imageSet.back, screen->layout.buttons[kButtonBack]);
    DrawImageIn(imageSet.clearAll, screen->layout.buttons[kButtonClearAll]);
    DrawImageIn(imageSet.question, screen->layout.buttons[kButtonLegend]);
    if (solved) SetDrawColour(kColourDimWhite);
    DrawImageIn(imageSet.drawFull, screen->layout.buttons[kButtonDraw]);
    DrawImageIn(imageSet.drawBlank, screen->layout.buttons[kButtonErase]);
    DrawImageIn(imageSet.drawX, screen->layout.buttons[kButtonCross]);
    DrawImageIn(imageSet.moveScale, screen->layout.buttons[kButtonMoveScale]);
    DrawImageIn(imageSet.undo, screen->layout.buttons[kButtonUndo]);
    if (!solved) {
        SetDrawColour(kColourBlack);
        const ScreenRect* active =
            screen->activeTool == CellEmpty    ? &screen->layout.buttons[kButtonErase]
            : screen->activeTool == CellFilled ? &screen->layout.buttons[kButtonDraw]
            : screen->activeTool == CellCross  ? &screen->layout.buttons[kButtonCross]
                                               : nullptr;
        if (active) DrawFrame(*active);
        if (screen->moveScaleMode) DrawFrame(screen->layout.buttons[kButtonMoveScale]);
    }
    SetDrawColour(kColourWhite);
}

// ===========================================================================
// Legend

enum LegendText { kActiveMode, kDrawing, kErase, kSetX, kScaleMove, kUndo, kClearAll, kBack };

struct LegendTexts {
    const char* english;
    const char* russian;
};

const LegendTexts kLegendTexts[8] = {
    {"Active Mode", "Aктивный peжим"},
    {"Drawing", "Pиcoвaниe"},
    {"Erase", "Лacтик"},
    {"Set X", "X"},
    {"Scale & Move", "Macштaбиpoвaниe"},
    {"Undo", "Oтмeнa"},
    {"Clear All", "Oчиcтить вce"},
    {"Back", "Haзaд"},
};

void DrawLegend(const BoardScreen* screen, const BoardLayout& layout) {
    SdfFont* font = Font();
    const int32_t W = layout.width, T = layout.toolbarSize, s = layout.buttonSide;
    const char* texts[8];
    for (int i = 0; i < 8; ++i)
        texts[i] = LocalText(kLegendTexts[i].english, kLegendTexts[i].russian);

    // Widths of every text at the scale that makes the longest row fit.
    int32_t widths[8] = {0};
    int32_t A = 0, Mx = 0;
    if (font) {
        SetUpText(font, 1000.0f, static_cast<float>(s), kLayoutCentreV, kColourBlack, 1.0f);
        const int32_t halfButton = s / 2;
        FitTextScale(font, "M", 1.0f, 0.1f, &LegendLetterFits, &halfButton);
        for (;;) {
            for (int i = 0; i < 8; ++i) {
                float w = 0, h = 0;
                MeasureText(font, texts[i], &w, &h);
                widths[i] = static_cast<int32_t>(w);
            }
            A = widths[kActiveMode];
            Mx = std::max({widths[kDrawing], widths[kErase], widths[kSetX], widths[kScaleMove]});
            if (static_cast<int64_t>(Mx) + A + 60 <= W - T) break;
            const float lowered = font->scale - 0.1f;
            if (!(lowered > 0.0f)) break;
            font->scale = lowered;
        }
    }

    const ScreenRect& draw = screen->layout.buttons[kButtonDraw];
    const ScreenRect& moveScale = screen->layout.buttons[kButtonMoveScale];
    const ScreenRect& back = screen->layout.buttons[kButtonBack];
    const int32_t x0 = W - T - A - Mx - 60;
    const float panelW = static_cast<float>(A + 60 + Mx);
    const float panelH = static_cast<float>(back.y + back.h - draw.y);
    SetDrawColour(kColourWhite);
    FillRect(static_cast<float>(x0), static_cast<float>(draw.y), panelW, panelH);
    SetDrawColour(kColourBlue);
    DrawFrame(ScreenRect{x0, draw.y, A + 60 + Mx, back.y + back.h - draw.y});

    SetDrawColour(kColourBlack);
    const ScreenRect* rows[7] = {
        &screen->layout.buttons[kButtonDraw],  &screen->layout.buttons[kButtonErase],
        &screen->layout.buttons[kButtonCross], &screen->layout.buttons[kButtonMoveScale],
        &screen->layout.buttons[kButtonUndo],  &screen->layout.buttons[kButtonClearAll],
        &screen->layout.buttons[kButtonBack]};
    const int32_t textX = W - T - Mx - 20;
    for (int i = 0; i < 7; ++i) {
        const float y = static_cast<float>(rows[i]->y + rows[i]->h / 2);
        DrawLine(static_cast<float>(W - T - Mx - 18 + widths[kDrawing + i]), y,
                 static_cast<float>(W - T), y);
        if (i < 4) {
            DrawLine(static_cast<float>(W - T - Mx - 40), y, static_cast<float>(textX), y);
        }
    }
    const float bracketX = static_cast<float>(W - T - Mx - 40);
    DrawLine(bracketX, static_cast<float>(draw.y + draw.h / 2), bracketX,
             static_cast<float>(moveScale.y + moveScale.h / 2));
    const float stubY = static_cast<float>((moveScale.y + moveScale.h) / 2 + draw.y / 2);
    DrawLine(static_cast<float>(W - T - Mx - 60), stubY, bracketX, stubY);

    FlushDrawing();
    if (!font) return;
    for (int i = 0; i < 7; ++i) {
        DrawText(font, static_cast<float>(textX), static_cast<float>(rows[i]->y),
                 texts[kDrawing + i]);
    }
    font->maxHeight = static_cast<float>(moveScale.y + moveScale.h - draw.y);
    DrawText(font, static_cast<float>(x0), static_cast<float>(draw.y), texts[kActiveMode]);
}

}  // namespace

// ===========================================================================
// Layout

BoardLayout LayoutBoardScreen(int32_t width, int32_t height, const Board* board, bool legendShown) {
    BoardLayout l{};
    l.width = width;
    l.height = height;
    l.totalCols = TotalCols(board);
    l.totalRows = TotalRows(board);
    const int32_t T = std::min({width / 8, height / 8, kToolbarMax});
    l.toolbarSize = T;

    l.area = ScreenRect{kMargin, kMargin, width - 2 * kMargin, height - 2 * kMargin};
    const float cols = static_cast<float>(l.totalCols), rows = static_cast<float>(l.totalRows);
    const float right = std::min(static_cast<float>(width - 2 * kMargin - T) / cols,
                                 static_cast<float>(height - 2 * kMargin) / rows);
    const float bottom = std::min(static_cast<float>(width - 2 * kMargin) / cols,
                                  static_cast<float>(height - 2 * kMargin - T) / rows);
    l.fitToolbarAtRight = right > bottom ? 1 : 0;
    if (l.fitToolbarAtRight) {
        l.area.w -= T;
    } else {
        l.area.h -= T;
    }
    // At least one pixel: zoom divides by it, and a board too big for the
    // surface still gets drawn, overflowing it.
    l.fitCellSize = std::max(1, std::min(l.area.h / l.totalRows, l.area.w / l.totalCols));
    const int32_t fitW = l.fitCellSize * l.totalCols, fitH = l.fitCellSize * l.totalRows;
    l.fitRect =
        ScreenRect{kMargin + (l.area.w - fitW) / 2, kMargin + (l.area.h - fitH) / 2, fitW, fitH};

    // The toolbar: eight squares shrinking together, gap and all, until they fit.
    l.toolbarAtRight = legendShown ? 1 : l.fitToolbarAtRight;
    const int32_t length = l.toolbarAtRight ? height : width;
    int32_t s = std::max(T - 4, 0), g = kButtonGapStart;
    int32_t offset = (length - 8 * s - 7 * g) / 2;
    while (offset < 1 && (s > 0 || g > 0)) {
        s = s * 9 / 10;
        g = g * 9 / 10;
        offset = (length - 8 * s - 7 * g) / 2;
    }
    l.buttonSide = s;
    l.buttonGap = g;
    l.buttonOffset = offset;
    for (int32_t i = 0; i < kToolbarButtonCount; ++i) {
        const int32_t along = offset + i * (s + g);
        l.buttons[kToolbarOrder[i]] = l.toolbarAtRight ? ScreenRect{width - s - 2, along, s, s}
                                                       : ScreenRect{along, height - s - 2, s, s};
    }
    l.strip = l.toolbarAtRight ? ScreenRect{width - T, 0, T, height}
                               : ScreenRect{0, height - T, width, T};
    return l;
}

float ViewCellSize(const ScreenRect& viewRect, const Board* board) {
    if (!board || board->rows <= 0 || board->cols <= 0) return 0.0f;
    return static_cast<float>(
        std::min(viewRect.w / TotalCols(board), viewRect.h / TotalRows(board)));
}

bool IsThickLine(int32_t i, int32_t total, int32_t bandCells) {
    return i == 0 || i == total || (i - bandCells) % 5 == 0;
}

ClueBandPins PinClueBands(const BoardScreen* screen) {
    ClueBandPins pins{};
    const Board* b = screen ? screen->progress.board : nullptr;
    const float cell = screen ? screen->cellSize : 0.0f;
    if (!b || !(cell > 0.0f)) return pins;
    const ScreenRect& v = screen->viewRect;
    const ScreenRect& fit = screen->layout.fitRect;
    // The board's part of the surface: beside the toolbar strip.
    const int32_t strip = screen->layout.toolbarSize;
    const float areaW =
        static_cast<float>(surfaceSize.width - (screen->layout.toolbarAtRight ? strip : 0));
    const float areaH =
        static_cast<float>(surfaceSize.height - (screen->layout.toolbarAtRight ? 0 : strip));
    const float bandW = static_cast<float>(std::max(b->maxRowClues, 0)) * cell;
    const float bandH = static_cast<float>(std::max(b->maxColClues, 0)) * cell;
    // Where a band sticks: at the edge, or further out when it is deeper than
    // half the area. It pins once the board has moved past that place, which
    // never happens at fit, even on a surface too small for the fitted board.
    pins.leftX = std::min(0.0f, areaW / 2 - bandW);
    pins.topY = std::min(0.0f, areaH / 2 - bandH);
    pins.left = bandW > 0.0f && static_cast<float>(v.x) < pins.leftX && v.x < fit.x;
    pins.top = bandH > 0.0f && static_cast<float>(v.y) < pins.topY && v.y < fit.y;
    pins.leftRight = pins.leftX + bandW;
    pins.topBottom = pins.topY + bandH;
    return pins;
}

void DrawBoardScreen(BoardScreen* screen, bool surfaceChanged) {
    if (!screen) return;
    const int32_t W = surfaceSize.width, H = surfaceSize.height;
    const Board* board = screen->progress.board;
    const BoardLayout layout = LayoutBoardScreen(W, H, board, screen->legendShown != 0);
    screen->layout = layout;
    if (surfaceChanged) screen->viewRect = screen->layout.fitRect;
    screen->cellSize = ViewCellSize(screen->viewRect, board);
    if (W <= 0 || H <= 0) return;

    ClearSurface(palette.background);
    if (board) DrawBoard(screen, layout);
    DrawToolbar(screen, layout);
    if (screen->legendShown) DrawLegend(screen, layout);
}

// ===========================================================================
// Hit tests

ToolbarButton HitToolbar(const BoardScreen* screen, int32_t x, int32_t y) {
    if (!screen) return kButtonNone;
    const ScreenRect* tested[kToolbarButtonCount] = {
        &screen->layout.buttons[kButtonBack],  &screen->layout.buttons[kButtonDraw],
        &screen->layout.buttons[kButtonErase], &screen->layout.buttons[kButtonMoveScale],
        &screen->layout.buttons[kButtonCross], &screen->layout.buttons[kButtonClearAll],
        &screen->layout.buttons[kButtonUndo],  &screen->layout.buttons[kButtonLegend],
    };
    for (int32_t i = 0; i < kToolbarButtonCount; ++i) {
        if (RectHolds(*tested[i], x, y, kNoEdges)) return static_cast<ToolbarButton>(i);
    }
    return kButtonNone;
}

bool InToolbarStrip(const BoardScreen* screen, int32_t x, int32_t y) {
    if (!screen) return false;
    return screen->layout.toolbarAtRight ? x >= surfaceSize.width - screen->layout.toolbarSize
                                         : y >= surfaceSize.height - screen->layout.toolbarSize;
}

bool ClueAt(const BoardScreen* screen, int32_t x, int32_t y, bool* inBand, bool* isRow,
            int32_t* line, int32_t* clue) {
    if (inBand) *inBand = false;
    const Board* b = screen ? screen->progress.board : nullptr;
    const float cell = screen ? screen->cellSize : 0.0f;
    if (!b || !b->rowClues || !b->colClues || !(cell > 0.0f)) return false;
    const ScreenRect& v = screen->viewRect;
    const ClueBandPins pins = PinClueBands(screen);
    const float fx = static_cast<float>(x), fy = static_cast<float>(y);
    const float gx0 = static_cast<float>(v.x) + static_cast<float>(b->maxRowClues) * cell;
    const float gy0 = static_cast<float>(v.y) + static_cast<float>(b->maxColClues) * cell;
    const int64_t right = static_cast<int64_t>(v.x) + v.w;
    const int64_t bottom = static_cast<int64_t>(v.y) + v.h;
    const bool underTop = pins.top && fy < pins.topBottom;
    const bool underLeft = pins.left && fx < pins.leftRight;

    // The band under the point and where its cells begin: a pinned band is
    // drawn over everything else and starts at the surface's edge.
    bool rowBand = false;
    float bandX = static_cast<float>(v.x), bandY = static_cast<float>(v.y);
    if (underTop && underLeft) {
        if (inBand) *inBand = true;  // the pinned bands' shared corner
        return false;
    } else if (underLeft) {
        rowBand = true;
        bandX = pins.leftX;
    } else if (underTop) {
        bandY = pins.topY;
    } else if (v.x <= x && fx < gx0 && fy >= gy0 && y < bottom) {
        rowBand = true;
    } else if (!(fx >= gx0 && x < right && v.y <= y && fy < gy0)) {
        return false;
    }
    if (inBand) *inBand = true;
    // A pinned band also covers the other band's corner and the view's
    // surroundings: only where a clue line runs is there a clue.
    if (rowBand ? !(fy >= gy0 && y < bottom) : !(fx >= gx0 && x < right)) return false;
    const int32_t index = static_cast<int32_t>(rowBand ? (fy - gy0) / cell : (fx - gx0) / cell);
    int32_t k = rowBand ? static_cast<int32_t>((fx - bandX) / cell) - b->maxRowClues
                        : static_cast<int32_t>((fy - bandY) / cell) - b->maxColClues;
    // The view may reach past the last cell; only real lines and clues count.
    const int32_t lines = rowBand ? b->rows : b->cols;
    if (index < 0 || index >= lines) return false;
    const ClueLine& l = rowBand ? b->rowClues[index] : b->colClues[index];
    const int32_t n = l.values ? l.count : 0;
    k += n;
    if (k < 0 || k >= n) return false;
    if (isRow) *isRow = rowBand;
    if (line) *line = index;
    if (clue) *clue = k;
    return true;
}

bool CellAt(const BoardScreen* screen, int32_t x, int32_t y, int32_t* row, int32_t* col) {
    const Board* b = screen ? screen->progress.board : nullptr;
    const float cell = screen ? screen->cellSize : 0.0f;
    if (!b || !(cell > 0.0f)) return false;
    const ScreenRect& v = screen->viewRect;
    const float fx = static_cast<float>(x), fy = static_cast<float>(y);
    const float gx0 = static_cast<float>(v.x) + static_cast<float>(b->maxRowClues) * cell;
    const float gy0 = static_cast<float>(v.y) + static_cast<float>(b->maxColClues) * cell;
    if (!(fx >= gx0 && fy >= gy0)) return false;
    if (x >= static_cast<int64_t>(v.x) + v.w || y >= static_cast<int64_t>(v.y) + v.h) return false;
    const ClueBandPins pins = PinClueBands(screen);
    if ((pins.top && fy < pins.topBottom) || (pins.left && fx < pins.leftRight)) return false;
    const int32_t r = static_cast<int32_t>((fy - gy0) / cell);
    const int32_t c = static_cast<int32_t>((fx - gx0) / cell);
    // The view may reach past the last cell: only cells of the board count.
    if (r < 0 || r >= b->rows || c < 0 || c >= b->cols) return false;
    if (row) *row = r;
    if (col) *col = c;
    return true;
}
