// The size list screen: layout, drawing and hit test.
#include "ui/size_list.h"

#include <cstdio>

#include "draw2d/iw2d.h"
#include "storage/decimal.h"
#include "text/sdf_font.h"
#include "ui/look.h"
#include "ui/text_fit.h"

SizeListLayout LayoutSizeList(int32_t width, int32_t height, const SizeListScreen* list) {
    SizeListLayout l{};
    const int32_t W = width, H = height;
    l.footer = LayoutListFooter(W, H);
    const int32_t footerHeight = l.footer.footerHeight;

    l.cellW = 148;
    l.cellH = 68;
    if (W > 800 || H > 800) l.cellW = 222, l.cellH = 102;
    if (W > 1200 || H > 1200) l.cellW = 296, l.cellH = 136;
    if (W > 1500 || H > 1500) l.cellW = 370, l.cellH = 170;
    if (l.cellW > W) l.cellW = W;
    if (l.cellW < 1) l.cellW = 1;  // a surface without width still lays out one column

    const int32_t n = ListEntryCount(list ? list->count : 0);
    l.count = n;
    l.cols = W / l.cellW;
    if (l.cols < 1) l.cols = 1;
    l.rows = (n + l.cols - 1) / l.cols;
    l.spare = W - l.cols * l.cellW;
    l.top =
        l.rows * l.cellH < H - footerHeight - 40 ? (H - l.rows * l.cellH - footerHeight) / 2 : 20;

    const int32_t lastRow = l.rows - 1;
    for (int32_t i = 0; i < n; ++i) {
        const int32_t row = i / l.cols, col = i % l.cols;
        int32_t x = l.spare / 2 + col * l.cellW;
        if (row == lastRow) {
            const int32_t k = n - row * l.cols < l.cols ? n - row * l.cols : l.cols;
            x = (W - k * l.cellW) / 2 + col * l.cellW;
        }
        l.entries[i] = {x, l.top + row * l.cellH, l.cellW, l.cellH};
    }

    if (list) LayoutListEnd(&l, H, 20, list);
    return l;
}

namespace {

// The two-pixel borders of every cell, closed over the whole width above a
// centred last row.
void DrawCellLines(const SizeListLayout& l, int32_t width, int32_t shift) {
    const int32_t n = l.count;
    const int32_t x0 = n > 0 ? l.entries[0].x : 0;
    const int32_t lastRow = l.rows - 1;
    SetDrawColour(palette.listLine);
    for (int32_t i = 0; i < n; ++i) {
        const float x = static_cast<float>(l.entries[i].x);
        const float y = static_cast<float>(l.entries[i].y - shift);
        const float w = static_cast<float>(l.entries[i].w);
        const float h = static_cast<float>(l.entries[i].h);
        const int32_t row = i / l.cols, col = i % l.cols;
        DrawRect(x, y, w, h);
        DrawLine(x - 1.0f, y - 1.0f, x + w + 1.0f, y - 1.0f);
        DrawLine(x - 1.0f, y, x - 1.0f, y + h + 1.0f);
        if (col == l.cols - 1 || i == n - 1) DrawLine(x + w + 1.0f, y, x + w + 1.0f, y + h + 1.0f);
        if (row == lastRow) {
            DrawLine(x - 1.0f, y + h - 1.0f, x + w + 1.0f, y + h - 1.0f);
            DrawLine(static_cast<float>(x0 - 1), y - 1.0f, static_cast<float>(width - x0 + 1),
                     y - 1.0f);
        }
    }
}

}  // namespace

void DrawSizeList(SizeListScreen* list) {
    const int32_t W = surfaceSize.width, H = surfaceSize.height;
    if (!list || W <= 0 || H <= 0) return;
    const SizeListLayout l = LayoutSizeList(W, H, list);
    list->layout = l;

    const int32_t shift = l.scroll.scrollOffset + l.scroll.dragOffset;
    SdfFont* font = g_font;
    if (font) {
        font->style = kStyleSoft;
        font->lineSpacing = 0.8f;
        SetTextBox(font, static_cast<float>(l.cellW), static_cast<float>(l.cellH),
                   kLayoutCentre | kLayoutCentreV, palette.listText, 3.0f);
        const float bounds[2] = {static_cast<float>(2 * l.cellW / 3),
                                 static_cast<float>(2 * l.cellH / 3)};
        FitTextScale(font, "90x90\r\n(999)", 3.0f, 0.1f, FitsBelow, bounds);
    }
    DrawCellLines(l, W, shift);
    FlushDrawing();
    if (font) {
        char text[96];
        for (int32_t i = 0; i < l.count; ++i) {
            // A label scrolled wholly off the list's band would be laid out for nothing.
            const int32_t y = l.entries[i].y - shift;
            if (y + l.cellH <= 0 || y >= l.footer.footerTop) continue;
            const GridSizeInfo& e = list->entries[i];
            char solved[kDecimalBufferSize], total[kDecimalBufferSize];
            FormatDecimal(e.solvedCount, solved, sizeof solved);
            FormatDecimal(e.puzzleCount, total, sizeof total);
            std::snprintf(text, sizeof text, "%.29s\r\n(%s/%s)", e.label, solved, total);
            DrawText(font, static_cast<float>(l.entries[i].x), static_cast<float>(y), text);
        }
    }
    DrawListFooter(l.footer, W, list->title);
    DrawListScrollBar(W, l.footer.footerTop, l.scroll);
}

ListHit HitSizeList(const SizeListScreen* list, int32_t x, int32_t y) {
    return HitListView(list, false, x, y);
}
