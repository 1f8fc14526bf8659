// A rectangle on the surface in whole pixels, as the screens lay them out and
// hit-test them.
#pragma once

#include <cstdint>

struct ScreenRect {
    int32_t x, y, w, h;
};
