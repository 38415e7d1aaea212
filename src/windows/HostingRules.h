// The decisions of application hosting that need no window: how alike two
// window titles are, which of an executable's windows a tab takes back, where
// a released window goes when its old place is off every screen, and when a
// hosted window has wandered far enough to be put back. Plain values only, so
// the rules build and are tested on any host.
#pragma once

#include "base/PixelGeometry.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cadrels {

// 0 when either is empty; compared in lower case: 1000 when equal, 700 when
// one contains the other, else the length of their common prefix when it is
// at least 4, else 0.
int TitleSimilarity(std::wstring_view a, std::wstring_view b);

// The file name of a path, lower case.
std::wstring ExecutableFileName(std::wstring_view path);
// Browsers keep many unrelated windows: a tab never takes one by chance.
bool IsBrowserExecutable(std::wstring_view path);
// Packaged applications live under WindowsApps and start only by their id.
bool IsPackagedPath(std::wstring_view path);

// One top-level window of the executable looked for, in enumeration order.
struct HostableCandidate {
    std::uintptr_t window = 0;
    std::wstring title;
    // Visible and an ordinary application window.
    bool strong = false;
    // Not strong, but its own root with a caption and a title, not a tool
    // window, of another process.
    bool weak = false;
};

// Which window a tab that held `title` of an executable takes back:
// the best-titled strong candidate when its title is alike at all; for a
// browser, only a weak one whose title is alike; otherwise the first strong
// one, else the best weak one with an alike title, else a lone weak one.
std::optional<std::uintptr_t> ChooseHostableWindow(const std::vector<HostableCandidate>& candidates,
                                                   std::wstring_view title, bool browser);

// A monitor's full rectangle and the work area inside it.
struct ScreenArea {
    PixelRect bounds;
    PixelRect work;
};

// Unchanged when the rectangle touches a monitor; otherwise shrunk to the
// nearest monitor's work area and moved inside it. Unchanged without monitors.
PixelRect FitOntoMonitor(const PixelRect& rect, const std::vector<ScreenArea>& screens);

// Whether a hosted window must be put back over its area: it is maximized,
// or its top-left corner strayed more than 6 pixels at 96 DPI (`scale` is
// the DPI / 96) from the area's. A minimized window is left to the next
// placement.
bool HostedWindowStrayed(PixelPoint windowTopLeft, PixelPoint areaTopLeft, bool maximized, float scale);

// The executables this user hosted on this machine, each with the package
// application id its window had (empty for an ordinary program): the only
// pairs a tab may start again without a click. One "path" or "path<TAB>id" a
// line, UTF-8; both compared without ASCII case.
class HostedExecutables {
public:
    static constexpr size_t MaxEntries = 200;

    static HostedExecutables Parse(std::string_view text);
    std::string Format() const;

    bool Contains(std::wstring_view path, std::wstring_view appId = {}) const;
    // False when the pair was already known (nothing to save) or the path is
    // empty; either may not hold a line break or a tab.
    bool Add(std::wstring_view path, std::wstring_view appId = {});
    const std::vector<std::wstring>& Paths() const { return paths_; }
    const std::vector<std::wstring>& AppIds() const { return appIds_; }

private:
    std::vector<std::wstring> paths_;  // most recent first
    std::vector<std::wstring> appIds_;  // beside paths_
};

// A top-level window as the z-order walk meets it, from the top down.
struct StackedWindow {
    std::uintptr_t window = 0;
    // Shown, not minimized, not cloaked, not click-through, and its
    // rectangle holds the point.
    bool coversPoint = false;
};

// Whether `target` is the first window covering the point, the window being
// moved (which the pointer drags along over it) aside: a title bar hidden
// under another window is no place to drop on.
bool UncoveredInStack(const std::vector<StackedWindow>& fromTop, std::uintptr_t target, std::uintptr_t moved);

// A package application id that may be handed to "shell:AppsFolder\": not
// empty, and without "..", "\" or "/", which would make the shell open
// something else than an application of that folder.
bool IsSafeAppId(std::wstring_view id);

}  // namespace cadrels
