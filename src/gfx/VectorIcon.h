// A parsed vector icon: the small SVG profile the built-in icons use, and
// what the program's own renderer draws where Direct2D has no SVG support.
// `path` elements with M L H V C S Q T Z data (absolute or relative; arcs
// are not supported and end the path data there, as a data error does),
// filled with a colour or a linear gradient, under the nonzero or even-odd
// rule. Other elements, strokes, transforms and opacity are ignored. Free of
// Windows headers.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace cadrels {

struct VectorPoint {
    float x = 0.0f;
    float y = 0.0f;
};

// Absolute segments only: H and V become lines, S and T their full forms.
enum class SegmentKind : std::uint8_t { Move, Line, Cubic, Quadratic, Close };

struct PathSegment {
    SegmentKind kind = SegmentKind::Move;
    VectorPoint points[3]{};  // the end point is the last one used
};

struct PathData {
    std::vector<PathSegment> segments;
    bool complete = true;  // false: an error stopped the parse; what came before stands
};

PathData ParsePathData(std::string_view text);

struct GradientStop {
    float offset = 0.0f;   // 0..1, never decreasing along the list
    std::uint32_t rgb = 0;  // 0xRRGGBB
};

struct VectorFill {
    enum class Kind : std::uint8_t { Solid, LinearGradient };
    Kind kind = Kind::Solid;
    std::uint32_t rgb = 0;  // 0xRRGGBB, for Solid
    // For LinearGradient, in view-box units (bounding-box gradients are
    // resolved against the path's bounds when parsed).
    VectorPoint start{};
    VectorPoint end{};
    std::vector<GradientStop> stops;
};

struct VectorShape {
    std::vector<PathSegment> segments;
    bool evenOdd = false;
    VectorFill fill;
};

struct VectorIcon {
    float viewX = 0.0f;
    float viewY = 0.0f;
    float viewWidth = 100.0f;
    float viewHeight = 100.0f;
    std::vector<VectorShape> shapes;
};

// Null when the text is not an SVG document (no svg root element, broken
// markup, a view box without area).
std::optional<VectorIcon> ParseVectorIcon(std::string_view text);

// "#rgb", "#rrggbb", "black", "white" or "currentColor" (black).
std::optional<std::uint32_t> ParseColour(std::string_view text);

}  // namespace cadrels
