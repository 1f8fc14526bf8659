// A rectangle on the surface in whole pixels, as the screens lay them out and
// hit-test them, and the one test of a point against it.
#pragma once

#include <cstdint>

struct ScreenRect {
    int32_t x, y, w, h;
};

// Which edges of a rectangle count as inside it. Each screen keeps the edges
// its targets always had: toolbar buttons none, tiles and list entries their
// left and top, signs and promotion tiles all four.
struct RectEdges {
    bool left, top, right, bottom;
};
constexpr RectEdges kNoEdges = {false, false, false, false};
constexpr RectEdges kLeftTopEdges = {true, true, false, false};
constexpr RectEdges kAllEdges = {true, true, true, true};

// Whether (x, y) lies in r, its edges counted as `edges` says; in 64 bits, so a
// rectangle reaching past the 32-bit range still compares truly.
inline bool RectHolds(const ScreenRect& r, int32_t x, int32_t y, RectEdges edges) {
    const int64_t left = r.x, top = r.y, right = left + r.w, bottom = top + r.h;
    return (edges.left ? x >= left : x > left) && (edges.right ? x <= right : x < right) &&
           (edges.top ? y >= top : y > top) && (edges.bottom ? y <= bottom : y < bottom);
}
