// The shape presets: several cadrels laid out at once in a figure, each region
// a fraction of the work area with its label and unfold direction.
#pragma once

#include <span>

namespace cadrels {

struct ShapeRegion {
    int label;  // string id
    double x;
    double y;
    double w;
    double h;
    int unfold;
};

inline constexpr int ShapeCount = 6;

// The regions of a shape in creation order; empty for an unknown shape.
std::span<const ShapeRegion> ShapeRegions(int shape);
// The menu text's string id of a shape, or -1.
int ShapeLabel(int shape);

}  // namespace cadrels
