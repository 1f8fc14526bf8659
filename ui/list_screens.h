// What the size list and the puzzle list share: one list view (scroll state
// and the rectangles its last frame laid out) under each screen's built
// entries, the footer with its back button and title, scroll limits, the
// scroll bar, the hit test, and dragging and releasing on a list.
#pragma once

#include <cstdint>

#include "puzzles/lists.h"
#include "ui/screen_rect.h"

// Entries a list lays out and hit-tests; the catalogue's largest grid size
// holds 155 puzzles, its largest class 37 grid sizes. Entries past this are
// neither drawn nor hit.
constexpr int32_t kListEntryMax = 256;

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

// What both lists lay out: the footer, the scroll state and the entries'
// rectangles in list coordinates.
struct ListLayout {
    ListFooter footer;
    ListScroll scroll;                  // limits, and the carried-over offsets clamped to them
    int32_t count;                      // entries laid out: the list's, at most kListEntryMax
    ScreenRect entries[kListEntryMax];  // list coordinates
};

// One list on screen, as both list screens keep it: its last frame's layout,
// whole, which taps and drags use; its scroll offsets carry over to the next
// frame (entries are drawn and hit-tested scrollOffset + dragOffset higher).
struct ListView {
    ListLayout layout;
};

// The grid sizes of one size class on screen. Zero-filled when created.
struct SizeListScreen : SizeList, ListView {};

// The puzzles of one grid size on screen. Zero-filled when created.
struct PuzzleListScreen : PuzzleList, ListView {};

// The entries a list of `count` lays out: none below zero, at most kListEntryMax.
int32_t ListEntryCount(int32_t count);
// The scroll state of a layout whose entries are placed, keeping `margin`
// pixels free above the footer, with the view's offsets carried over.
void LayoutListEnd(ListLayout* l, int32_t height, int32_t margin, const ListView* view);

// What a tap at (x, y) hits, by the rectangles of the last frame drawn: the
// back button (its top edge is outside), else nothing at or below footerTop,
// else the first entry holding the point once moved up by the scroll;
// closedEntries counts their right and bottom edges as inside.
ListHit HitListView(const ListView* view, bool closedEntries, int32_t x, int32_t y);

// The pointer held on a list, pressed at pressY and now at y: the list follows
// the finger, measured from the press, once it is far enough above or below
// it, within the scroll limits. True when the list moved.
bool DragListView(ListView* view, int32_t pressY, int32_t y);
// A wheel scrolls a list by `by` pixels, the drag in progress included,
// within the list's limits. True when the list moved.
bool ScrollListView(ListView* view, int32_t by);
// A release on a list: a tap (`tap`) hits the list as the player saw it, drag
// offset included, and the offset goes, since a tap never scrolls; a drag
// release keeps the offset as scrolled. What the tap hit.
ListHit ReleaseOnListView(ListView* view, bool closedEntries, bool tap, int32_t x, int32_t y);

// Drawing shared by both lists (the surface size is this frame's).
void DrawListFooter(const ListFooter& footer, int32_t width, const char* title);
void DrawListScrollBar(int32_t width, int32_t footerTop, const ListScroll& scroll);
