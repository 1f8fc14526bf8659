// The puzzle list screen: layout, drawing and hit test.
#include "ui/puzzle_list.h"

#include "draw2d/iw2d.h"
#include "text/sdf_font.h"
#include "ui/images.h"
#include "ui/look.h"

PuzzleListLayout LayoutPuzzleList(int32_t width, int32_t height, const PuzzleListScreen* list) {
    PuzzleListLayout l{};
    const int32_t W = width, H = height;
    l.footer = LayoutListFooter(W, H);
    const int32_t footerHeight = l.footer.footerHeight;

    l.cell = W < 100 ? W : 100;
    if (l.cell < 1) l.cell = 1;
    const int32_t n = ListEntryCount(list ? list->count : 0);
    l.count = n;
    l.cols = (W - 20) / l.cell;
    if (l.cols < 1) l.cols = 1;  // narrower than a cell and its margins: one column
    l.rows = (n + l.cols - 1) / l.cols;
    l.top = 100 * l.rows < H - footerHeight - 20 ? (H - 100 * l.rows - footerHeight) / 2 : 10;

    const bool singleRow = l.rows == 1;
    const int32_t inRow = n < l.cols ? n : l.cols;
    for (int32_t i = 0; i < n; ++i) {
        const int32_t row = i / l.cols, col = i % l.cols;
        const int32_t x = singleRow ? (W - inRow * l.cell) / 2 + col * l.cell
                                    : (W - l.cols * l.cell - 20) / 2 + 10 + col * l.cell;
        l.entries[i] = {x, l.top + 100 * row, l.cell, 100};
    }

    if (list) LayoutListEnd(&l, H, 10, list);
    return l;
}

namespace {

// The grid's outline (two pixels), its column boundaries and the top of every
// row; a short last row so shows empty cells up to the right edge.
void DrawGridLines(const PuzzleListLayout& l, int32_t shift) {
    if (l.count <= 0) return;
    int32_t x0 = l.entries[0].x, y0 = l.entries[0].y - shift;
    int32_t x1 = x0, y1 = y0;
    for (int32_t i = 0; i < l.count; ++i) {
        const ScreenRect& r = l.entries[i];
        if (r.x + r.w > x1) x1 = r.x + r.w;
        if (r.y - shift + r.h > y1) y1 = r.y - shift + r.h;
    }
    SetDrawColour(palette.listLine);
    const float fx0 = static_cast<float>(x0), fy0 = static_cast<float>(y0);
    const float fx1 = static_cast<float>(x1), fy1 = static_cast<float>(y1);
    DrawRect(fx0, fy0, fx1 - fx0, fy1 - fy0);
    DrawRect(fx0 - 1.0f, fy0 - 1.0f, fx1 - fx0 + 2.0f, fy1 - fy0 + 2.0f);
    for (int32_t x = x0; x < x1; x += l.cell) {
        DrawLine(static_cast<float>(x), fy0, static_cast<float>(x), fy1);
    }
    for (int32_t r = 0; r < l.rows; ++r) {
        const float y = static_cast<float>(y0 + 100 * r);
        DrawLine(fx0, y, fx1, y);
    }
}

// Icons grouped by image: one run per status.
void DrawIcons(const PuzzleListScreen* list, const PuzzleListLayout& l, int32_t shift) {
    struct Group {
        int32_t status;
        CIw2DImage* image;
    };
    const Group groups[3] = {
        {Solved, imageSet.completed}, {NotStarted, imageSet.closed}, {InProgress, imageSet.opened}};
    SetDrawColour(palette.iconTint);
    for (const Group& g : groups) {
        for (int32_t i = 0; i < l.count; ++i) {
            if (list->entries[i].status != g.status) continue;
            const ScreenRect& r = l.entries[i];
            DrawImage(g.image, static_cast<float>((r.w - r.h) / 2 + r.x),
                      static_cast<float>(r.y - shift), static_cast<float>(r.h),
                      static_cast<float>(r.h));
        }
    }
}

}  // namespace

void DrawPuzzleList(PuzzleListScreen* list) {
    const int32_t W = surfaceSize.width, H = surfaceSize.height;
    if (!list || W <= 0 || H <= 0) return;
    const PuzzleListLayout l = LayoutPuzzleList(W, H, list);
    list->layout = l;

    if (SdfFont* font = g_font) {
        font->style = kStyleSoft;
        font->lineSpacing = 0.8f;
    }
    const int32_t shift = l.scroll.scrollOffset + l.scroll.dragOffset;
    DrawGridLines(l, shift);
    DrawIcons(list, l, shift);
    FlushDrawing();
    DrawListFooter(l.footer, W, list->title);
    DrawListScrollBar(W, l.footer.footerTop, l.scroll);
}

ListHit HitPuzzleList(const PuzzleListScreen* list, int32_t x, int32_t y) {
    return HitListView(list, true, x, y);
}
