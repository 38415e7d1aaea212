// Emblems of tabs and dock items, and item icons, drawn for the windows that
// show them. An emblem key is "svg:" and a built-in name (a resource of the
// program), the path of an .svg file, or any other image file's path (drawn
// from the icon cache). Main thread only.
#pragma once

#include "gfx/D2DDeclarations.h"
#include "gfx/GraphicsDevice.h"
#include "gfx/IconCache.h"
#include "gfx/VectorIconGraphic.h"

#include <windows.h>
#include <d2d1_1.h>
#include <wrl/client.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace cadrels {

inline constexpr std::uint64_t MaxSvgFileBytes = 8ull * 1024 * 1024;

// The SVG text of an emblem key: the built-in resource, or the file when the
// key ends with ".svg" (in any case) and the file holds 1 byte to 8 MiB.
// Empty when there is none.
std::string ReadSvgEmblemSource(std::wstring_view key);

// A loaded emblem: a Direct2D SVG document where the system has them, else
// the program's own drawing of the same document.
struct SvgEmblem {
    Microsoft::WRL::ComPtr<ID2D1SvgDocument> document;
    std::unique_ptr<VectorIconGraphic> graphic;
};

// One window's loaded emblems, keyed by emblem key; a key that cannot be
// loaded is remembered as null and not tried again. Objects belong to one
// device generation: the cache empties itself when the generation moves on,
// and the window empties it when it rebuilds its objects.
class SvgEmblemCache {
public:
    void Clear() { entries_.clear(); }
    // Forgets one key, so that its file is read again on the next draw.
    void Remove(std::wstring_view key)
    {
        if (const auto found = entries_.find(key); found != entries_.end()) {
            entries_.erase(found);
        }
    }
    size_t Size() const { return entries_.size(); }

private:
    friend const SvgEmblem* LoadSvgEmblem(SvgEmblemCache&, GraphicsDevice&, IUnknown*, std::wstring_view);
    std::map<std::wstring, std::unique_ptr<SvgEmblem>, std::less<>> entries_;
    std::uint32_t generation_ = 0;
};

// The emblem for `key`, loaded once per cache, or null. `svgContext` is the
// window's ID2D1DeviceContext5 (WindowGraphics::SvgContext), null where the
// system has none: the program's own renderer then draws the document.
const SvgEmblem* LoadSvgEmblem(SvgEmblemCache& cache, GraphicsDevice& device, IUnknown* svgContext,
                               std::wstring_view key);

// The emblem's 100 by 100 viewport scaled into `square`; the context's
// transform is left as it was.
void DrawSvgEmblem(ID2D1DeviceContext& context, IUnknown* svgContext, const SvgEmblem& emblem,
                   const D2D1_RECT_F& square);

struct EmblemSources {
    GraphicsDevice& device;
    IUnknown* svgContext;  // may be null
    SvgEmblemCache& svgs;
    IconCache& icons;
};

// A tab's or dock item's emblem in `square`: the SVG document when the key
// resolves to one; otherwise, unless the key starts with "svg:", the icon
// cache's bitmap of the file named by the key at the square's height.
// Returns whether anything was drawn.
bool DrawEmblem(ID2D1DeviceContext& context, const D2D1_RECT_F& square, std::wstring_view key,
                const EmblemSources& sources);

// An item's icon in its square: the cache's bitmap for the path at the
// square's size, scaled uniformly to fit and centred; without one yet the
// square filled with `placeholder`, corner radius 4 * `scale`.
void DrawItemIcon(ID2D1DeviceContext& context, const D2D1_RECT_F& square, const std::wstring& path,
                  IconCache& icons, ID2D1Brush* placeholder, float scale);

// A bitmap scaled uniformly to fit `area` and centred in it.
D2D1_RECT_F FitBitmapRect(D2D1_SIZE_F bitmap, const D2D1_RECT_F& area);

}  // namespace cadrels
