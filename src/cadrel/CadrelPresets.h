// The shape presets: several cadrels laid out at once in a figure, each region
// a fraction of the work area with its label and unfold direction.
#pragma once

#include "i18n/TextId.h"

#include <span>

namespace cadrels {

struct ShapeRegion {
    TextId label;
    double x;
    double y;
    double w;
    double h;
    int unfold;
};

inline constexpr int ShapeCount = 6;

// The regions of a shape in creation order; empty for an unknown shape.
std::span<const ShapeRegion> ShapeRegions(int shape);
// The menu text of a shape; an id without text for an unknown shape.
TextId ShapeLabel(int shape);

}  // namespace cadrels
