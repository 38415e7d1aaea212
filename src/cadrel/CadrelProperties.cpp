#include "cadrel/CadrelProperties.h"

#include <algorithm>
#include <cmath>

namespace cadrels {
namespace {

int InRangeOrFirst(int value, int last)
{
    return value >= 0 && value <= last ? value : 0;
}

}  // namespace

double ClampOpacity(double opacity)
{
    return std::clamp(opacity, MinCadrelOpacity, MaxCadrelOpacity);
}

float ClampZoom(float zoom)
{
    return std::isnan(zoom) ? 1.0f : std::clamp(zoom, MinCadrelZoom, MaxCadrelZoom);
}

int ValidClassifyMode(int mode)
{
    return InRangeOrFirst(mode, 2);
}

int ValidUnfoldDirection(int direction)
{
    return InRangeOrFirst(direction, 3);
}

int ValidSortKey(int key)
{
    return InRangeOrFirst(key, 3);
}

int ValidViewMode(int mode)
{
    return InRangeOrFirst(mode, 2);
}

CadrelProperties ValidProperties(CadrelProperties properties)
{
    properties.opacity = ClampOpacity(properties.opacity);
    properties.classifyMode = ValidClassifyMode(properties.classifyMode);
    properties.expandDir = ValidUnfoldDirection(properties.expandDir);
    properties.sortBy = ValidSortKey(properties.sortBy);
    properties.viewMode = ValidViewMode(properties.viewMode);
    for (float& zoom : properties.density) {
        zoom = ClampZoom(zoom);
    }
    return properties;
}

}  // namespace cadrels
