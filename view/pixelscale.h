#pragma once

#include <algorithm>
#include <cmath>

// How many device pixels a view draws for each pixel of what it draws in pixel
// units (glyphs, line widths) at a device pixel ratio: a whole number, so a
// glyph pixel stays a crisp square block, and of the two nearest the ratio the
// one nearer in proportion (1.25 gives 1; 1.5 and 1.75 give 2).
inline int pixelScale(double devicePixelRatio)
{
    const int below = std::max(1, int(std::floor(devicePixelRatio)));
    return devicePixelRatio * devicePixelRatio > below * (below + 1.0) ? below + 1 : below;
}
