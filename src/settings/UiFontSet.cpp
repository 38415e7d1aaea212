#include "settings/UiFontSet.h"

#include "settings/DarkStyle.h"

#include <algorithm>
#include <cwctype>
#include <string>

namespace cadrels {
namespace {

// Faces that cover the scripts of the interface languages: Windows' own
// first, then the Noto families found on other systems.
constexpr const wchar_t* FallbackFaces[] = {
    L"Nirmala UI",        L"Leelawadee UI",      L"Yu Gothic UI",       L"Microsoft YaHei UI",
    L"Microsoft JhengHei UI", L"Malgun Gothic",  L"Segoe UI Symbol",    L"Noto Sans",
    L"Noto Sans Devanagari", L"Noto Sans Bengali", L"Noto Looped Thai", L"Noto Sans Thai",  L"Noto Sans CJK JP",
    L"Noto Sans CJK SC",  L"Noto Sans CJK TC",   L"Noto Sans CJK KR",   L"Arial Unicode MS",
};

// Characters that draw nothing of their own and need no glyph.
bool NeedsGlyph(wchar_t c)
{
    return !(std::iswspace(c) || c < 0x20 || c == 0x200B || c == 0x200C || c == 0x200D || c == 0xFEFF);
}

}  // namespace

size_t MissingGlyphs(HDC dc, HFONT font, std::wstring_view text)
{
    std::wstring needed;
    for (wchar_t c : text) {
        if (NeedsGlyph(c)) {
            needed.push_back(c);
        }
    }
    if (needed.empty()) {
        return 0;
    }
    const SelectedObject selected(dc, font);
    std::vector<WORD> glyphs(needed.size());
    if (GetGlyphIndicesW(dc, needed.c_str(), static_cast<int>(needed.size()), glyphs.data(),
                         GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR) {
        return 0;  // nothing better to go on: keep the font as it is
    }
    return static_cast<size_t>(std::count(glyphs.begin(), glyphs.end(), WORD{0xFFFF}));
}

UiFontSet::UiFontSet(int dpi)
    : dpi_(dpi), base_(CreateDarkUiFont(dpi)), fallbacks_(std::size(FallbackFaces)), dc_(CreateCompatibleDC(nullptr))
{
}

HFONT UiFontSet::For(std::wstring_view text)
{
    return ForAll({text});
}

HFONT UiFontSet::ForAll(const std::vector<std::wstring_view>& texts)
{
    if (!base_ || !dc_) {
        return base_.Get();
    }
    auto missing = [&](HFONT font) {
        size_t count = 0;
        for (std::wstring_view text : texts) {
            count += MissingGlyphs(dc_.Get(), font, text);
        }
        return count;
    };
    HFONT best = base_.Get();
    size_t fewest = missing(best);
    for (size_t i = 0; i < fallbacks_.size() && fewest > 0; ++i) {
        const HFONT font = Fallback(i);
        if (font == nullptr) {
            continue;
        }
        const size_t count = missing(font);
        if (count < fewest) {
            best = font;
            fewest = count;
        }
    }
    return best;
}

HFONT UiFontSet::Fallback(size_t index)
{
    if (!fallbacks_[index]) {
        fallbacks_[index] = CreateDarkUiFont(dpi_, FallbackFaces[index]);
    }
    return fallbacks_[index].Get();
}

bool UiFontSet::Covers(HFONT font, wchar_t c)
{
    return !NeedsGlyph(c) || MissingGlyphs(dc_.Get(), font, std::wstring_view(&c, 1)) == 0;
}

std::vector<UiFontSet::Run> UiFontSet::Runs(std::wstring_view text)
{
    std::vector<Run> runs;
    if (!dc_) {
        runs.push_back({0, text.size(), base_.Get()});
        return runs;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        // Keep a run going while its font has the character: scripts stay in
        // one font, so their combining marks are never split from their base.
        if (!runs.empty() && Covers(runs.back().font, c)) {
            runs.back().end = i + 1;
            continue;
        }
        HFONT font = base_.Get();
        if (!Covers(font, c)) {
            for (size_t f = 0; f < fallbacks_.size(); ++f) {
                const HFONT candidate = Fallback(f);
                if (candidate != nullptr && Covers(candidate, c)) {
                    font = candidate;
                    break;
                }
            }
        }
        if (!runs.empty() && runs.back().font == font) {
            runs.back().end = i + 1;
        } else {
            runs.push_back({i, i + 1, font});
        }
    }
    return runs;
}

int UiFontSet::RunsWidth(HDC dc, std::wstring_view text, const std::vector<Run>& runs)
{
    int width = 0;
    for (const Run& run : runs) {
        const SelectedObject selected(dc, run.font);
        SIZE extent{};
        GetTextExtentPoint32W(dc, text.data() + run.begin, static_cast<int>(run.end - run.begin), &extent);
        width += extent.cx;
    }
    return width;
}

size_t UiFontSet::Undrawable(std::wstring_view text)
{
    size_t count = 0;
    for (const Run& run : Runs(text)) {
        for (size_t i = run.begin; i < run.end; ++i) {
            count += Covers(run.font, text[i]) ? 0 : 1;
        }
    }
    return count;
}

int UiFontSet::MeasureLine(HDC dc, std::wstring_view text)
{
    return RunsWidth(dc, text, Runs(text));
}

void UiFontSet::DrawLine(HDC dc, std::wstring_view text, const RECT& area, bool centred)
{
    const int available = area.right - area.left;
    std::wstring shown(text);
    std::vector<Run> runs = Runs(shown);
    int width = RunsWidth(dc, shown, runs);
    if (width > available) {
        // Cut until the text and its ellipsis fit, never inside a surrogate pair.
        std::wstring kept(text);
        while (!kept.empty() && width > available) {
            kept.pop_back();
            if (!kept.empty() && IS_HIGH_SURROGATE(kept.back())) {
                kept.pop_back();
            }
            shown = kept + L"\u2026";
            runs = Runs(shown);
            width = RunsWidth(dc, shown, runs);
        }
    }
    // One baseline for every run, placed so the tallest run is centred.
    int ascent = 0;
    int descent = 0;
    for (const Run& run : runs) {
        const SelectedObject selected(dc, run.font);
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        ascent = std::max(ascent, static_cast<int>(metrics.tmAscent));
        descent = std::max(descent, static_cast<int>(metrics.tmDescent));
    }
    const int baseline = area.top + (area.bottom - area.top - ascent - descent) / 2 + ascent;
    int x = centred ? area.left + std::max(0, (available - width) / 2) : area.left;
    const UINT previousAlign = SetTextAlign(dc, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
    for (const Run& run : runs) {
        const SelectedObject selected(dc, run.font);
        const int length = static_cast<int>(run.end - run.begin);
        SIZE extent{};
        GetTextExtentPoint32W(dc, shown.data() + run.begin, length, &extent);
        ExtTextOutW(dc, x, baseline, ETO_CLIPPED, &area, shown.data() + run.begin, static_cast<UINT>(length), nullptr);
        x += extent.cx;
    }
    SetTextAlign(dc, previousAlign);
}

}  // namespace cadrels
