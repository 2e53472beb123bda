#pragma once

#include "vec.h"

#include <array>
#include <vector>

// Triangulates a simple polygon with holes by ear clipping, using only the
// given points (no points are added). Index k refers to the concatenation of
// the outer loop and then each hole in order. Triangles come out
// counter-clockwise. Holes are joined to the outer loop by bridges first.
//
// Among the ears available at each step the one with the largest smallest
// angle is cut first, which keeps long thin triangles rare; ties go to the
// lowest position, so the result is deterministic. A polygon with n points
// and h holes always gives n + 2h - 2 triangles. Throws std::runtime_error if
// the polygon cannot be triangulated (self-intersecting input).
std::vector<std::array<int, 3>> triangulate(
    const std::vector<Vec2> &outer, const std::vector<std::vector<Vec2>> &holes);

double signedArea(const std::vector<Vec2> &loop);
bool pointInPolygon(Vec2 p, const std::vector<Vec2> &loop);
