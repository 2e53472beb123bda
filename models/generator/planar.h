#pragma once

#include "vec.h"

#include <vector>

// A partition of a rectangle into regions, one region per run, painted from
// axis-parallel rectangles: a later rectangle covers earlier ones. Regions
// never overlap, so surfaces drawn in one plane cannot fight for depth.
//
// Each region comes out as components (an outer loop with its holes). Loops
// keep only the points where some region boundary turns or where three
// regions meet; a point that lies on the border of two regions is in both
// regions' loops, so neighbouring triangulations share every edge point
// (no T-junctions).
class RectMap
{
public:
    RectMap(double x0, double y0, double x1, double y1, int baseRun);
    void paint(double x0, double y0, double x1, double y1, int run);
    // Cuts the base rectangle's top-left corner off along a 45 degree line,
    // `size` along each side. Nothing but the base run may lie there.
    void cutCorner(double size) { cut_ = size; }

    struct Component
    {
        std::vector<Vec2> outer; // counter-clockwise
        std::vector<std::vector<Vec2>> holes; // clockwise
    };
    std::vector<Component> region(int run) const;

private:
    struct Rect
    {
        double x0, y0, x1, y1;
        int run;
    };
    void build() const;
    int cellRun(int i, int j) const; // -1 outside
    bool essential(int i, int j) const;

    std::vector<Rect> rects_;
    mutable std::vector<double> xs_, ys_;
    mutable std::vector<int> cells_;
    mutable bool built_ = false;
    double cut_ = 0;
};
