#include "cadrel/CadrelPresets.h"

namespace cadrels {
namespace {

constexpr ShapeRegion Frame[] = {
    {457, 0.30, 0.30, 0.40, 0.08, 0},
    {458, 0.30, 0.62, 0.40, 0.08, 1},  // "Bas" opens upward, towards the middle
    {459, 0.30, 0.38, 0.10, 0.24, 0},
    {460, 0.60, 0.38, 0.10, 0.24, 0},
};
constexpr ShapeRegion Grid[] = {
    {462, 0.35, 0.35, 0.14, 0.14, 0},
    {463, 0.51, 0.35, 0.14, 0.14, 0},
    {464, 0.35, 0.51, 0.14, 0.14, 0},
    {465, 0.51, 0.51, 0.14, 0.14, 0},
};
constexpr ShapeRegion Cross[] = {
    {461, 0.45, 0.45, 0.10, 0.10, 0}, {457, 0.45, 0.34, 0.10, 0.10, 0}, {458, 0.45, 0.56, 0.10, 0.10, 0},
    {459, 0.34, 0.45, 0.10, 0.10, 0}, {460, 0.56, 0.45, 0.10, 0.10, 0},
};
constexpr ShapeRegion Triangle[] = {
    {466, 0.41, 0.25, 0.18, 0.20, 0},
    {459, 0.32, 0.45, 0.18, 0.20, 0},
    {460, 0.50, 0.45, 0.18, 0.20, 0},
};
constexpr ShapeRegion Columns[] = {
    {467, 0.25, 0.20, 0.15, 0.60, 0},
    {468, 0.425, 0.20, 0.15, 0.60, 0},
    {469, 0.60, 0.20, 0.15, 0.60, 0},
};
constexpr ShapeRegion Rows[] = {
    {470, 0.20, 0.25, 0.60, 0.15, 0},
    {471, 0.20, 0.425, 0.60, 0.15, 0},
    {472, 0.20, 0.60, 0.60, 0.15, 0},
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

int ShapeLabel(int shape)
{
    return shape >= 0 && shape < ShapeCount ? 451 + shape : -1;
}

}  // namespace cadrels
