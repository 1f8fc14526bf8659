// What the size list and the puzzle list share: the screens' data (the built
// entries plus scroll state and the rectangles their last frame laid out), the
// footer with its back button and title, scroll limits, the scroll bar and the
// answer of their hit tests.
#pragma once

#include <cstdint>

#include "puzzles/lists.h"
#include "ui/screen_rect.h"

// Entries a list lays out and hit-tests; the catalogue's largest grid size
// holds 155 puzzles, its largest class 37 grid sizes. Entries past this are
// neither drawn nor hit.
constexpr int32_t kListEntryMax = 256;

// The grid sizes of one size class on screen. Zero-filled when created.
struct SizeListScreen : SizeList {
    // Scrolling: entries are drawn and hit-tested scrollOffset + dragOffset higher.
    int32_t dragOffset;
    int32_t scrollOffset;
    int32_t maxScroll;
    int32_t footerTop;
    int32_t footerHeight;
    ScreenRect backButton;
    // The last frame's entry rectangles, in list coordinates (before scrolling).
    int32_t rectCount;
    ScreenRect entryRects[kListEntryMax];
};

// The puzzles of one grid size on screen. Zero-filled when created.
struct PuzzleListScreen : PuzzleList {
    int32_t dragOffset;
    int32_t scrollOffset;
    int32_t maxScroll;
    int32_t footerTop;
    int32_t footerHeight;
    ScreenRect backButton;
    int32_t rectCount;
    ScreenRect entryRects[kListEntryMax];
};

// Keeps a frame's layout in its list screen: the footer, the scroll limits
// and offsets after clamping, and the entries' rectangles that taps use.
template <typename Screen, typename Layout>
void KeepListLayout(Screen* list, const Layout& l) {
    list->footerHeight = l.footer.footerHeight;
    list->footerTop = l.footer.footerTop;
    list->backButton = l.footer.backButton;
    list->maxScroll = l.scroll.maxScroll;
    list->scrollOffset = l.scroll.scrollOffset;
    list->dragOffset = l.scroll.dragOffset;
    list->rectCount = l.count;
    for (int32_t i = 0; i < l.count; ++i)
        list->entryRects[i] = l.entries[i];
}

// What a tap on a list hits: its back button, entry `index`, or nothing.
enum ListTarget : int32_t { kListNone = 0, kListBack, kListEntry };
struct ListHit {
    ListTarget target;
    int32_t index;
};

// The footer band along the bottom edge with its back button.
struct ListFooter {
    int32_t footerHeight;   // min(H * 0.125, 100)
    int32_t footerTop;      // H - footerHeight
    ScreenRect backButton;  // a square footerHeight - 4 high, 5 pixels from the right edge
};
ListFooter LayoutListFooter(int32_t width, int32_t height);

// Scroll state after a layout whose last entry ends at `bottom`: a list that
// keeps `margin` pixels free above the footer does not scroll (all three 0);
// otherwise maxScroll is what it takes to bring that margin into view, and the
// offsets carried over are clamped to it (a rotation may have shrunk it).
struct ListScroll {
    int32_t maxScroll;
    int32_t scrollOffset;
    int32_t dragOffset;
};
ListScroll LayoutListScroll(int32_t height, int32_t footerHeight, int32_t bottom, int32_t margin,
                            int32_t scrollOffset, int32_t dragOffset);

// The scroll bar's thumb along the right edge (only drawn when maxScroll > 0).
ScreenRect ListScrollThumb(int32_t width, int32_t footerTop, const ListScroll& scroll);

// Hit test shared by both lists. Entries are compared moved up by `shift`;
// inclusiveEdges counts their right and bottom edges as inside.
ListHit HitList(const ScreenRect& backButton, int32_t footerTop, const ScreenRect* rects,
                int32_t rectCount, int32_t shift, bool inclusiveEdges, int32_t x, int32_t y);

// Drawing shared by both lists (the surface size is this frame's).
void DrawListFooter(const ListFooter& footer, int32_t width, const char* title);
void DrawListScrollBar(int32_t width, int32_t footerTop, const ListScroll& scroll);
