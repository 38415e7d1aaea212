#include "cadrel/CadrelPresets.h"

namespace cadrels {
namespace {

constexpr ShapeRegion Frame[] = {
    {TextId::RegionTop, 0.30, 0.30, 0.40, 0.08, 0},
    {TextId::RegionBottom, 0.30, 0.62, 0.40, 0.08, 1},  // "Bas" opens upward, towards the middle
    {TextId::RegionLeft, 0.30, 0.38, 0.10, 0.24, 0},
    {TextId::RegionRight, 0.60, 0.38, 0.10, 0.24, 0},
};
constexpr ShapeRegion Grid[] = {
    {TextId::RegionTopLeft, 0.35, 0.35, 0.14, 0.14, 0},
    {TextId::RegionTopRight, 0.51, 0.35, 0.14, 0.14, 0},
    {TextId::RegionBottomLeft, 0.35, 0.51, 0.14, 0.14, 0},
    {TextId::RegionBottomRight, 0.51, 0.51, 0.14, 0.14, 0},
};
constexpr ShapeRegion Cross[] = {
    {TextId::RegionCenter, 0.45, 0.45, 0.10, 0.10, 0}, {TextId::RegionTop, 0.45, 0.34, 0.10, 0.10, 0},
    {TextId::RegionBottom, 0.45, 0.56, 0.10, 0.10, 0}, {TextId::RegionLeft, 0.34, 0.45, 0.10, 0.10, 0},
    {TextId::RegionRight, 0.56, 0.45, 0.10, 0.10, 0},
};
constexpr ShapeRegion Triangle[] = {
    {TextId::RegionTopTip, 0.41, 0.25, 0.18, 0.20, 0},
    {TextId::RegionLeft, 0.32, 0.45, 0.18, 0.20, 0},
    {TextId::RegionRight, 0.50, 0.45, 0.18, 0.20, 0},
};
constexpr ShapeRegion Columns[] = {
    {TextId::RegionColumn1, 0.25, 0.20, 0.15, 0.60, 0},
    {TextId::RegionColumn2, 0.425, 0.20, 0.15, 0.60, 0},
    {TextId::RegionColumn3, 0.60, 0.20, 0.15, 0.60, 0},
};
constexpr ShapeRegion Rows[] = {
    {TextId::RegionRow1, 0.20, 0.25, 0.60, 0.15, 0},
    {TextId::RegionRow2, 0.20, 0.425, 0.60, 0.15, 0},
    {TextId::RegionRow3, 0.20, 0.60, 0.60, 0.15, 0},
};

constexpr std::span<const ShapeRegion> Shapes[ShapeCount] = {Frame, Grid, Cross, Triangle, Columns, Rows};

}  // namespace

std::span<const ShapeRegion> ShapeRegions(int shape)
{
    if (shape < 0 || shape >= ShapeCount) {
        return {};
    }
    return Shapes[shape];
}

TextId ShapeLabel(int shape)
{
    return shape >= 0 && shape < ShapeCount ? TextAt(TextId::ShapeFrame, shape) : static_cast<TextId>(-1);
}

}  // namespace cadrels
