// The footer, scroll limits, scroll bar, hit test, dragging and releasing
// that both lists share.
#include "ui/list_screens.h"

#include <algorithm>
#include <cstdlib>

#include "draw2d/iw2d.h"
#include "text/sdf_font.h"
#include "ui/images.h"
#include "ui/look.h"
#include "ui/text_fit.h"

namespace {

// A list moves once the finger is this far above or below the press.
constexpr int32_t kListScrollGate = 10;

}  // namespace

ListFooter LayoutListFooter(int32_t width, int32_t height) {
    ListFooter f{};
    const float eighth = static_cast<float>(height) * 0.125f;
    f.footerHeight = eighth > 100.0f ? 100 : static_cast<int32_t>(eighth);
    f.footerTop = height - f.footerHeight;
    const int32_t side = height - f.footerTop - 4;
    f.backButton = {width - side - 5, f.footerTop + 2, side, side};
    return f;
}

ListScroll LayoutListScroll(int32_t height, int32_t footerHeight, int32_t bottom, int32_t margin,
                            int32_t scrollOffset, int32_t dragOffset) {
    ListScroll s{0, 0, 0};
    if (!(height - footerHeight < bottom + margin)) return s;
    s.maxScroll = footerHeight + margin + bottom - height;
    // Offsets kept from a frame with more room must not reach past the new end.
    s.scrollOffset = scrollOffset < 0 ? 0 : scrollOffset > s.maxScroll ? s.maxScroll : scrollOffset;
    const int32_t low = -s.scrollOffset, high = s.maxScroll - s.scrollOffset;
    s.dragOffset = dragOffset < low ? low : dragOffset > high ? high : dragOffset;
    return s;
}

ScreenRect ListScrollThumb(int32_t width, int32_t footerTop, const ListScroll& scroll) {
    const int64_t span = static_cast<int64_t>(scroll.maxScroll) + footerTop;
    if (scroll.maxScroll <= 0 || span <= 0) return {-1, -1, -1, -1};
    const int64_t at = static_cast<int64_t>(scroll.scrollOffset) + scroll.dragOffset;
    return {width - 3, static_cast<int32_t>(at * footerTop / span), 3,
            static_cast<int32_t>(static_cast<int64_t>(footerTop) * footerTop / span)};
}

int32_t ListEntryCount(int32_t count) {
    return count < 0 ? 0 : count > kListEntryMax ? kListEntryMax : count;
}

void LayoutListEnd(ListLayout* l, int32_t height, int32_t margin, const ListView* view) {
    const int32_t n = l->count;
    const int32_t bottom = n > 0 ? l->entries[n - 1].y + l->entries[n - 1].h : 0;
    l->scroll =
        n > 0 ? LayoutListScroll(height, l->footer.footerHeight, bottom, margin,
                                 view->layout.scroll.scrollOffset, view->layout.scroll.dragOffset)
              : ListScroll{0, 0, 0};
}

ListHit HitListView(const ListView* view, bool closedEntries, int32_t x, int32_t y) {
    if (!view) return {kListNone, 0};
    // The back button's top edge belongs to the footer's line, not to it.
    if (RectHolds(view->layout.footer.backButton, x, y, {true, false, false, false}))
        return {kListBack, 0};
    if (y >= view->layout.footer.footerTop || view->layout.count <= 0) return {kListNone, 0};
    const int32_t shift = view->layout.scroll.scrollOffset + view->layout.scroll.dragOffset;
    const RectEdges edges = closedEntries ? kAllEdges : kLeftTopEdges;
    for (int32_t i = 0; i < view->layout.count; ++i) {
        const ScreenRect& r = view->layout.entries[i];
        if (RectHolds({r.x, r.y - shift, r.w, r.h}, x, y, edges)) return {kListEntry, i};
    }
    return {kListNone, 0};
}

bool DragListView(ListView* view, int32_t pressY, int32_t y) {
    if (std::abs(pressY - y) < kListScrollGate || view->layout.scroll.maxScroll < 1) return false;
    const int32_t offset =
        std::clamp(pressY - y, -view->layout.scroll.scrollOffset,
                   view->layout.scroll.maxScroll - view->layout.scroll.scrollOffset);
    if (offset == view->layout.scroll.dragOffset) return false;
    view->layout.scroll.dragOffset = offset;
    return true;
}

bool ScrollListView(ListView* view, int32_t by) {
    ListScroll& s = view->layout.scroll;
    const int32_t offset = static_cast<int32_t>(
        std::clamp<int64_t>(static_cast<int64_t>(s.scrollOffset) + by, -s.dragOffset,
                            static_cast<int64_t>(s.maxScroll) - s.dragOffset));
    if (s.maxScroll < 1 || offset == s.scrollOffset) return false;
    s.scrollOffset = offset;
    return true;
}

ListHit ReleaseOnListView(ListView* view, bool closedEntries, bool tap, int32_t x, int32_t y) {
    const ListHit hit = tap ? HitListView(view, closedEntries, x, y) : ListHit{kListNone, 0};
    if (!tap) view->layout.scroll.scrollOffset += view->layout.scroll.dragOffset;
    view->layout.scroll.dragOffset = 0;
    return hit;
}

void DrawListFooter(const ListFooter& f, int32_t width, const char* title) {
    const float w = static_cast<float>(width);
    const float top = static_cast<float>(f.footerTop);
    SetDrawColour(palette.footerFill);
    FillRect(0.0f, top, w, static_cast<float>(f.footerHeight));
    SetDrawColour(palette.footerLine);
    DrawLine(0.0f, top, w, top);
    DrawLine(0.0f, top + 1.0f, w, top + 1.0f);

    const ScreenRect& b = f.backButton;
    SetDrawColour(palette.footerFill);
    DrawImage(imageSet.back, static_cast<float>(b.x), static_cast<float>(b.y),
              static_cast<float>(b.w), static_cast<float>(b.h));

    SdfFont* font = g_font;
    if (!font) return;
    SetTextBox(font, static_cast<float>(width - 10), static_cast<float>(f.footerHeight),
               kLayoutCentreV, kColourBlack, 3.0f);
    // One sample sizes every title, so the titles of all lists match.
    const float bounds[2] = {static_cast<float>(width - (2 * b.w + 20)),
                             static_cast<float>(2 * f.footerHeight / 5)};
    FitTextScale(font, "Medium 15x15", 3.0f, 0.1f, FitsBelow, bounds);
    FlushDrawing();
    font->colour = kColourBlack;
    DrawText(font, 10.0f, top, title ? title : "");
}

void DrawListScrollBar(int32_t width, int32_t footerTop, const ListScroll& scroll) {
    if (scroll.maxScroll <= 0) return;
    SetDrawColour(palette.scrollTrack);
    FillRect(static_cast<float>(width - 3), 0.0f, 3.0f, static_cast<float>(footerTop));
    const ScreenRect thumb = ListScrollThumb(width, footerTop, scroll);
    SetDrawColour(palette.scrollThumb);
    FillRect(static_cast<float>(thumb.x), static_cast<float>(thumb.y), static_cast<float>(thumb.w),
             static_cast<float>(thumb.h));
}
