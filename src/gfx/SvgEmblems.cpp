#include "gfx/SvgEmblems.h"

#include "model/AtomicFile.h"
#include "base/ComObject.h"
#include "base/DebugLog.h"
#include "base/UniqueHandle.h"
#include "gfx/BuiltinIconTable.h"
#include "gfx/IconKey.h"
#include "gfx/VectorIcon.h"

#include <shlwapi.h>

#include <algorithm>

namespace cadrels {
namespace {

std::string ReadResource(int id)
{
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    if (resource == nullptr) {
        return {};
    }
    HGLOBAL loaded = LoadResource(module, resource);
    const DWORD size = SizeofResource(module, resource);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (data == nullptr || size == 0) {
        return {};
    }
    return std::string(static_cast<const char*>(data), size);
}

std::string ReadSvgFile(const std::wstring& path)
{
    std::string bytes;
    return ReadFileBytes(path, MaxSvgFileBytes, bytes) ? bytes : std::string();
}

std::unique_ptr<SvgEmblem> CreateEmblem(GraphicsDevice& device, IUnknown* svgContext, const std::string& source)
{
    auto emblem = std::make_unique<SvgEmblem>();
    if (svgContext != nullptr) {
        auto* context = static_cast<ID2D1DeviceContext5Svg*>(static_cast<ID2D1DeviceContext*>(static_cast<void*>(svgContext)));
        Microsoft::WRL::ComPtr<IStream> stream;
        AdoptComObject(stream, SHCreateMemStream(reinterpret_cast<const BYTE*>(source.data()),
                                                 static_cast<UINT>(source.size())));
        const HRESULT created = stream ? context->CreateSvgDocument(stream.Get(), D2D1::SizeF(100.0f, 100.0f),
                                                                    emblem->document.GetAddressOf())
                                       : E_OUTOFMEMORY;
        if (SUCCEEDED(created) && emblem->document) {
            return emblem;
        }
        // A context may have the interface and still make no documents
        // (Wine 10 has ID2D1DeviceContext5): the own renderer draws instead.
        emblem->document.Reset();
        static bool logged = false;
        if (!logged) {
            logged = true;
            DebugLog(L"CreateSvgDocument a echoue (HRESULT 0x%08X) : rendu SVG du programme.",
                     static_cast<unsigned>(created));
        }
    }
    const std::optional<VectorIcon> icon = ParseVectorIcon(source);
    ID2D1DeviceContext* context = device.D2DContext();
    if (!icon || context == nullptr) {
        return nullptr;
    }
    emblem->graphic = VectorIconGraphic::Create(*device.D2DFactory(), *context, *icon);
    return emblem->graphic ? std::move(emblem) : nullptr;
}

}  // namespace

std::string ReadSvgEmblemSource(std::wstring_view key)
{
    if (key.empty()) {
        return {};
    }
    if (const BuiltinIcon* builtin = FindBuiltinIcon(key)) {
        return ReadResource(builtin->resourceId);
    }
    if (!IsSvgFileKey(key)) {
        return {};
    }
    return ReadSvgFile(std::wstring(key));
}

const SvgEmblem* LoadSvgEmblem(SvgEmblemCache& cache, GraphicsDevice& device, IUnknown* svgContext,
                               std::wstring_view key)
{
    if (key.empty()) {
        return nullptr;
    }
    if (cache.generation_ != device.Generation()) {
        cache.entries_.clear();
        cache.generation_ = device.Generation();
    }
    if (auto found = cache.entries_.find(key); found != cache.entries_.end()) {
        return found->second.get();
    }
    std::unique_ptr<SvgEmblem> emblem;
    const std::string source = ReadSvgEmblemSource(key);
    if (!source.empty()) {
        emblem = CreateEmblem(device, svgContext, source);
    }
    if (!emblem && (IsBuiltinIconKey(key) || IsSvgFileKey(key))) {
        DebugLog(L"Embleme SVG illisible : %.*ls", static_cast<int>(key.size()), key.data());
    }
    const SvgEmblem* result = emblem.get();
    cache.entries_.emplace(std::wstring(key), std::move(emblem));
    return result;
}

void DrawSvgEmblem(ID2D1DeviceContext& context, IUnknown* svgContext, const SvgEmblem& emblem,
                   const D2D1_RECT_F& square)
{
    if (emblem.graphic) {
        emblem.graphic->Draw(context, square);
        return;
    }
    if (!emblem.document || svgContext == nullptr) {
        return;
    }
    auto* svg = static_cast<ID2D1DeviceContext5Svg*>(static_cast<ID2D1DeviceContext*>(static_cast<void*>(svgContext)));
    D2D1_MATRIX_3X2_F previous;
    context.GetTransform(&previous);
    const D2D1::Matrix3x2F place =
        D2D1::Matrix3x2F::Scale((square.right - square.left) / 100.0f, (square.bottom - square.top) / 100.0f) *
        D2D1::Matrix3x2F::Translation(square.left, square.top);
    context.SetTransform(place * *D2D1::Matrix3x2F::ReinterpretBaseType(&previous));
    svg->DrawSvgDocument(emblem.document.Get());
    context.SetTransform(previous);
}

D2D1_RECT_F FitBitmapRect(D2D1_SIZE_F bitmap, const D2D1_RECT_F& area)
{
    const float width = area.right - area.left;
    const float height = area.bottom - area.top;
    if (bitmap.width <= 0.0f || bitmap.height <= 0.0f || width <= 0.0f || height <= 0.0f) {
        return D2D1::RectF(area.left, area.top, area.left, area.top);
    }
    const float scale = std::min(width / bitmap.width, height / bitmap.height);
    const float drawnWidth = bitmap.width * scale;
    const float drawnHeight = bitmap.height * scale;
    const float left = area.left + (width - drawnWidth) / 2.0f;
    const float top = area.top + (height - drawnHeight) / 2.0f;
    return D2D1::RectF(left, top, left + drawnWidth, top + drawnHeight);
}

bool DrawEmblem(ID2D1DeviceContext& context, const D2D1_RECT_F& square, std::wstring_view key,
                const EmblemSources& sources)
{
    if (key.empty()) {
        return false;
    }
    if (const SvgEmblem* emblem = LoadSvgEmblem(sources.svgs, sources.device, sources.svgContext, key)) {
        DrawSvgEmblem(context, sources.svgContext, *emblem, square);
        return true;
    }
    if (IsBuiltinIconKey(key) || IsSvgFileKey(key)) {
        return false;
    }
    const int side = static_cast<int>(square.bottom - square.top);
    ID2D1Bitmap* bitmap = sources.icons.Get(std::wstring(key), side);
    if (bitmap == nullptr) {
        return false;
    }
    context.DrawBitmap(bitmap, FitBitmapRect(bitmap->GetSize(), square), 1.0f, D2D1_INTERPOLATION_MODE_LINEAR);
    return true;
}

void DrawItemIcon(ID2D1DeviceContext& context, const D2D1_RECT_F& square, const std::wstring& path,
                  IconCache& icons, ID2D1Brush* placeholder, float scale)
{
    const int side = static_cast<int>(square.right - square.left);
    if (ID2D1Bitmap* bitmap = icons.Get(path, side)) {
        context.DrawBitmap(bitmap, FitBitmapRect(bitmap->GetSize(), square), 1.0f, D2D1_INTERPOLATION_MODE_LINEAR);
        return;
    }
    if (placeholder != nullptr) {
        context.FillRoundedRectangle(D2D1::RoundedRect(square, 4.0f * scale, 4.0f * scale), placeholder);
    }
}

}  // namespace cadrels
