// The launcher's rules that need no window: the application entries, their
// group key, order and skip list; the grid arithmetic, hit test and scroll
// range; the search and the keyboard highlight. Plain values, free of
// Windows headers, so the host sanitizer build runs them too.
#pragma once

#include "base/PixelGeometry.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace cadrels {

// Where an entry came from decides how it is started and which icon it shows:
// an item of the shell's applications folder, or a Start-menu shortcut read
// where that folder does not exist.
enum class AppSource { AppsFolder, Shortcut };

struct AppEntry {
    std::wstring name;   // the shell's display name
    std::wstring appId;  // parsing name in the applications folder, or the shortcut's path
    AppSource source = AppSource::AppsFolder;
    friend bool operator==(const AppEntry&, const AppEntry&) = default;
};

using AppCatalog = std::vector<AppEntry>;

// "#" for an empty name or an initial that is not a Latin letter once
// upper-cased and stripped of its accent; otherwise that letter, "A" to "Z".
std::wstring AppGroupKey(const AppEntry& entry);

// Help files, documents and links registered in the Start menu are not
// applications; the extension is compared in any letter case.
bool IsSkippedAppId(std::wstring_view appId);

// Negative, zero or positive as the user's locale orders two names.
using NameOrder = std::function<int(const std::wstring& a, const std::wstring& b)>;

// "#" first, then by key, then by `order` on the name; equal entries keep
// their enumeration order.
void SortAppCatalog(AppCatalog& catalog, const NameOrder& order);

// The file path the shell opens for an entry and the icon it is drawn with.
std::wstring AppLaunchPath(const AppEntry& entry);

// Lengths at 96 DPI; multiplied by the scale (dpi / 96).
inline constexpr float LaunchpadMargin = 26.0f;
inline constexpr float LaunchpadGridTop = 86.0f;
inline constexpr float LaunchpadCellMinWidth = 116.0f;
inline constexpr float LaunchpadCellHeight = 104.0f;
inline constexpr float LaunchpadHeaderHeight = 30.0f;

struct GridPoint {
    float x = 0.0f;
    float y = 0.0f;  // from the top of the scrolling content
};

struct GridHeader {
    std::wstring key;
    float y = 0.0f;
};

struct LaunchpadGrid {
    int columns = 1;
    float cellWidth = 0.0f;
    float cellHeight = 0.0f;
    std::vector<GridPoint> cells;  // one per match
    std::vector<GridHeader> headers;
    float contentHeight = 0.0f;
};

// A new group (and header) wherever the group key changes between
// consecutive matches; rows of `columns` cells within a group.
LaunchpadGrid LayoutLaunchpadGrid(const AppCatalog& catalog, const std::vector<int>& matches, float width,
                                  float scale);

// Scroll kept within [0, contentHeight - visible grid height], 0 when it all fits.
float ClampLaunchpadScroll(float scroll, float contentHeight, float height, float scale);

// The match whose cell holds the client point, -1 for none; only inside the
// grid band, cells right- and bottom-exclusive.
int LaunchpadHitTest(const LaunchpadGrid& grid, float x, float y, float height, float scroll, float scale);

// The window's rectangle: at most 1080 x 760 (scaled) and 72 % x 82 % of the
// work area, at least 360 x 320, centred in the work area.
PixelRect PlaceLaunchpad(const PixelRect& work, float scale);

// The query without its last character: a surrogate pair goes whole.
std::wstring WithoutLastCharacter(std::wstring_view query);

// Lower case, one UTF-16 unit for one, Latin letters with accents included.
std::wstring LowerUnits(std::wstring_view text);
// Lower case without accents (é → e, ß → ss, œ → oe), for the looser matches.
std::wstring FoldForMatch(std::wstring_view text);
// Whether the query is made of beginnings of the name's words in order
// (words may be skipped): "vsc" for Visual Studio Code, "pp" for PowerPoint.
bool MatchesWordStarts(std::wstring_view name, std::wstring_view query);

// Indices into the catalogue: every entry for an empty query; else the names
// containing the query (case-insensitive) in catalogue order, then those
// matched by word starts, then those containing it without accents; each
// entry once.
std::vector<int> MatchApps(const AppCatalog& catalog, std::wstring_view query);

enum class HighlightMove { Left, Right, Up, Down, PageUp, PageDown, Home, End };

// The cell the highlight goes to; from no highlight (-1) any move starts at
// the first cell. Up and down go to the nearest cell of the row above or
// below, across group headers; a page is `pageRows` rows.
int MoveHighlight(const LaunchpadGrid& grid, int current, HighlightMove move, int pageRows);

// The scroll that brings the cell fully into the visible grid, unchanged when
// it is already there.
float ScrollToShowCell(const LaunchpadGrid& grid, int cell, float scroll, float height, float scale);

struct LaunchpadTint {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;
};

// The backdrop from the average screen colour (0..255 per channel) under the
// window: each channel (average * 0.4 + 153) / 255, alpha 0.94.
LaunchpadTint LaunchpadTintFrom(double red, double green, double blue);

}  // namespace cadrels
