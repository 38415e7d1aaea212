#include "gfx/VectorIconGraphic.h"

#include "base/Failure.h"

#include <algorithm>

namespace cadrels {
namespace {

D2D1_POINT_2F ToPoint(VectorPoint point)
{
    return D2D1::Point2F(point.x, point.y);
}

D2D1_COLOR_F ToColour(std::uint32_t rgb)
{
    return D2D1::ColorF(static_cast<float>((rgb >> 16) & 0xff) / 255.0f, static_cast<float>((rgb >> 8) & 0xff) / 255.0f,
                        static_cast<float>(rgb & 0xff) / 255.0f, 1.0f);
}

HRESULT BuildGeometry(ID2D1Factory& factory, const VectorShape& shape, ID2D1PathGeometry** geometry)
{
    Microsoft::WRL::ComPtr<ID2D1PathGeometry> path;
    CADRELS_RETURN_IF_FAILED(factory.CreatePathGeometry(path.GetAddressOf()));
    Microsoft::WRL::ComPtr<ID2D1GeometrySink> sink;
    CADRELS_RETURN_IF_FAILED(path->Open(sink.GetAddressOf()));
    sink->SetFillMode(shape.evenOdd ? D2D1_FILL_MODE_ALTERNATE : D2D1_FILL_MODE_WINDING);

    bool open = false;
    VectorPoint current{};
    VectorPoint subpathStart{};
    // A drawing command right after a close starts a new figure at the
    // closed one's start, as SVG does.
    const auto ensureFigure = [&] {
        if (!open) {
            sink->BeginFigure(ToPoint(current), D2D1_FIGURE_BEGIN_FILLED);
            open = true;
        }
    };
    for (const PathSegment& segment : shape.segments) {
        switch (segment.kind) {
        case SegmentKind::Move:
            if (open) {
                sink->EndFigure(D2D1_FIGURE_END_OPEN);
                open = false;
            }
            current = subpathStart = segment.points[0];
            break;
        case SegmentKind::Line:
            ensureFigure();
            sink->AddLine(ToPoint(segment.points[0]));
            current = segment.points[0];
            break;
        case SegmentKind::Cubic:
            ensureFigure();
            sink->AddBezier(D2D1::BezierSegment(ToPoint(segment.points[0]), ToPoint(segment.points[1]),
                                                ToPoint(segment.points[2])));
            current = segment.points[2];
            break;
        case SegmentKind::Quadratic:
            ensureFigure();
            sink->AddQuadraticBezier(D2D1::QuadraticBezierSegment(ToPoint(segment.points[0]), ToPoint(segment.points[1])));
            current = segment.points[1];
            break;
        case SegmentKind::Close:
            if (open) {
                sink->EndFigure(D2D1_FIGURE_END_CLOSED);
                open = false;
            }
            current = subpathStart;
            break;
        }
    }
    if (open) {
        sink->EndFigure(D2D1_FIGURE_END_OPEN);
    }
    CADRELS_RETURN_IF_FAILED(sink->Close());
    *geometry = path.Detach();
    return S_OK;
}

HRESULT BuildBrush(ID2D1RenderTarget& target, const VectorFill& fill, ID2D1Brush** brush)
{
    if (fill.kind == VectorFill::Kind::Solid) {
        Microsoft::WRL::ComPtr<ID2D1SolidColorBrush> solid;
        CADRELS_RETURN_IF_FAILED(target.CreateSolidColorBrush(ToColour(fill.rgb), solid.GetAddressOf()));
        *brush = solid.Detach();
        return S_OK;
    }
    std::vector<D2D1_GRADIENT_STOP> stops;
    stops.reserve(fill.stops.size());
    for (const GradientStop& stop : fill.stops) {
        stops.push_back(D2D1::GradientStop(stop.offset, ToColour(stop.rgb)));
    }
    Microsoft::WRL::ComPtr<ID2D1GradientStopCollection> collection;
    // Gamma 2.2: colours blend in sRGB values, as SVG renderers blend them.
    CADRELS_RETURN_IF_FAILED(target.CreateGradientStopCollection(stops.data(), static_cast<UINT32>(stops.size()),
                                                                 D2D1_GAMMA_2_2, D2D1_EXTEND_MODE_CLAMP,
                                                                 collection.GetAddressOf()));
    Microsoft::WRL::ComPtr<ID2D1LinearGradientBrush> linear;
    CADRELS_RETURN_IF_FAILED(target.CreateLinearGradientBrush(
        D2D1::LinearGradientBrushProperties(ToPoint(fill.start), ToPoint(fill.end)), collection.Get(),
        linear.GetAddressOf()));
    *brush = linear.Detach();
    return S_OK;
}

}  // namespace

std::unique_ptr<VectorIconGraphic> VectorIconGraphic::Create(ID2D1Factory& factory, ID2D1RenderTarget& target,
                                                             const VectorIcon& icon)
{
    auto graphic = std::unique_ptr<VectorIconGraphic>(new VectorIconGraphic());
    graphic->viewX_ = icon.viewX;
    graphic->viewY_ = icon.viewY;
    graphic->viewWidth_ = icon.viewWidth;
    graphic->viewHeight_ = icon.viewHeight;
    graphic->layers_.reserve(icon.shapes.size());
    for (const VectorShape& shape : icon.shapes) {
        Layer layer;
        if (FAILED(BuildGeometry(factory, shape, layer.geometry.GetAddressOf())) ||
            FAILED(BuildBrush(target, shape.fill, layer.brush.GetAddressOf()))) {
            return nullptr;
        }
        graphic->layers_.push_back(std::move(layer));
    }
    return graphic;
}

void VectorIconGraphic::Draw(ID2D1RenderTarget& target, const D2D1_RECT_F& area) const
{
    const float width = area.right - area.left;
    const float height = area.bottom - area.top;
    if (width <= 0.0f || height <= 0.0f) {
        return;
    }
    const float scale = std::min(width / viewWidth_, height / viewHeight_);
    const float left = area.left + (width - viewWidth_ * scale) / 2.0f - viewX_ * scale;
    const float top = area.top + (height - viewHeight_ * scale) / 2.0f - viewY_ * scale;

    D2D1_MATRIX_3X2_F previous;
    target.GetTransform(&previous);
    target.SetTransform(D2D1::Matrix3x2F::Scale(scale, scale) * D2D1::Matrix3x2F::Translation(left, top) * previous);
    for (const Layer& layer : layers_) {
        target.FillGeometry(layer.geometry.Get(), layer.brush.Get());
    }
    target.SetTransform(previous);
}

}  // namespace cadrels
