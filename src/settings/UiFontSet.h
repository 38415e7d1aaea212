// The dark menus' and prompts' font, with a fallback for the scripts it
// lacks. GDI draws a missing character as a box: it only borrows glyphs from
// other fonts where the system's font-link table names them, and some
// systems (Wine among them, or a stripped Windows) have no entry for a script
// such as Devanagari or Thai. Texts are therefore drawn in runs, each run in
// the first font that has its characters, and controls get the font that
// lacks the fewest.
#pragma once

#include "base/UniqueHandle.h"

#include <windows.h>

#include <string_view>
#include <vector>

namespace cadrels {

// How many visible characters of `text` `font` has no glyph for.
size_t MissingGlyphs(HDC dc, HFONT font, std::wstring_view text);

class UiFontSet {
public:
    // The interface font ("Segoe UI", 15 pixels at 96 DPI) at `dpi`.
    explicit UiFontSet(int dpi);
    UiFontSet(const UiFontSet&) = delete;
    UiFontSet& operator=(const UiFontSet&) = delete;

    HFONT Base() const { return base_.Get(); }
    // The base font when it covers the text, else the fallback face of the
    // same size that lacks the fewest glyphs (the first of equals), else the
    // base font. Owned by this set.
    HFONT For(std::wstring_view text);
    // One font for texts shown side by side (a prompt's text and buttons).
    HFONT ForAll(const std::vector<std::wstring_view>& texts);

    // A single line drawn run by run: its width, and the line itself,
    // vertically centred in `area`, cut with an ellipsis when it is too long.
    int MeasureLine(HDC dc, std::wstring_view text);
    // How many characters of `text` no font of the set can draw.
    size_t Undrawable(std::wstring_view text);
    void DrawLine(HDC dc, std::wstring_view text, const RECT& area, bool centred);

private:
    struct Run {
        size_t begin;
        size_t end;
        HFONT font;
    };
    HFONT Fallback(size_t index);
    bool Covers(HFONT font, wchar_t c);
    std::vector<Run> Runs(std::wstring_view text);
    int RunsWidth(HDC dc, std::wstring_view text, const std::vector<Run>& runs);

    int dpi_;
    UniqueFont base_;
    std::vector<UniqueFont> fallbacks_;  // one per fallback face, created on first need
    UniqueMemoryDc dc_;
};

}  // namespace cadrels
