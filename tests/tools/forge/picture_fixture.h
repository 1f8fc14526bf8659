// Pictures for the forge tests, drawn as text: '#' filled, anything else empty.
#pragma once

#include <string>
#include <vector>

#include "tools/forge/solver.h"

namespace forge {

inline Bitmap Picture(const std::vector<std::string>& rows) {
    Bitmap b(static_cast<int>(rows.size()), static_cast<int>(rows[0].size()));
    for (int r = 0; r < b.rows; ++r) {
        for (int c = 0; c < b.cols; ++c)
            b.at(r, c) = rows[r][c] == '#';
    }
    return b;
}

}  // namespace forge
