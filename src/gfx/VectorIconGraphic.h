// A parsed vector icon made into Direct2D objects for one device: a path
// geometry and a brush per shape, drawn into any rectangle. What the program
// draws an SVG emblem with where Direct2D has no SVG support.
#pragma once

#include "gfx/VectorIcon.h"

#include <windows.h>
#include <d2d1_1.h>
#include <wrl/client.h>

#include <memory>
#include <vector>

namespace cadrels {

class VectorIconGraphic {
public:
    // Null when a geometry or brush cannot be made. `target` is any render
    // target of the device the brushes are for.
    static std::unique_ptr<VectorIconGraphic> Create(ID2D1Factory& factory, ID2D1RenderTarget& target,
                                                     const VectorIcon& icon);

    // Scales the view box uniformly into `area`, centred (SVG's default
    // "xMidYMid meet"), under the target's current transform, which it
    // leaves as it found it.
    void Draw(ID2D1RenderTarget& target, const D2D1_RECT_F& area) const;

    size_t LayerCount() const { return layers_.size(); }

private:
    struct Layer {
        Microsoft::WRL::ComPtr<ID2D1PathGeometry> geometry;
        Microsoft::WRL::ComPtr<ID2D1Brush> brush;
    };

    float viewX_ = 0.0f;
    float viewY_ = 0.0f;
    float viewWidth_ = 100.0f;
    float viewHeight_ = 100.0f;
    std::vector<Layer> layers_;
};

}  // namespace cadrels
