#include "dock/AppCatalogRules.h"

#include <algorithm>
#include <cmath>
#include <cwctype>

namespace cadrels {
namespace {

constexpr std::wstring_view SkippedExtensions[] = {L".chm", L".txt", L".html", L".htm",     L".url", L".pdf",
                                                   L".rtf", L".md",  L".log",  L".website", L".ini", L".hlp"};

bool IsHighSurrogate(wchar_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(wchar_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// The C library's case mapping knows only ASCII in some locales; Latin-1 and
// Latin Extended-A pairs are mapped here whatever it knows.
wchar_t LowerUnit(wchar_t unit)
{
    wchar_t lower = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(unit)));
    if (lower != unit) {
        return lower;
    }
    if (unit >= 0xC0 && unit <= 0xDE && unit != 0xD7) {
        return static_cast<wchar_t>(unit + 0x20);
    }
    if (unit >= 0x100 && unit <= 0x17F && unit != 0x130 && unit != 0x131 && unit != 0x138 && unit != 0x149 &&
        unit != 0x17F) {
        // Upper case on even code points before U+0139 and on odd ones from
        // there to U+0148, then even again up to U+0177.
        const bool evenUpper = unit < 0x139 || (unit > 0x149 && unit < 0x178);
        const bool isUpper = evenUpper ? (unit % 2 == 0) : (unit % 2 == 1);
        if (isUpper && unit != 0x178) {
            return static_cast<wchar_t>(unit + 1);
        }
    }
    return unit;
}

wchar_t UpperUnit(wchar_t unit)
{
    wchar_t upper = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(unit)));
    if (upper != unit) {
        return upper;
    }
    if (unit >= L'a' && unit <= L'z') {
        return static_cast<wchar_t>(unit - 0x20);
    }
    if (unit >= 0xE0 && unit <= 0xFE && unit != 0xF7) {
        return static_cast<wchar_t>(unit - 0x20);
    }
    return unit;
}

// The base letter of an accented upper-case Latin-1 letter, else the unit.
wchar_t FoldUpperLatin(wchar_t unit)
{
    if (unit >= 0xC0 && unit <= 0xC5) {
        return L'A';
    }
    if (unit == 0xC7) {
        return L'C';
    }
    if (unit >= 0xC8 && unit <= 0xCB) {
        return L'E';
    }
    if (unit >= 0xCC && unit <= 0xCF) {
        return L'I';
    }
    if (unit == 0xD1) {
        return L'N';
    }
    if ((unit >= 0xD2 && unit <= 0xD6) || unit == 0xD8) {
        return L'O';
    }
    if (unit >= 0xD9 && unit <= 0xDC) {
        return L'U';
    }
    if (unit == 0xDD) {
        return L'Y';
    }
    return unit;
}

// Base letters of U+0100 to U+017F, two code points (upper, lower) per letter
// where the block pairs them; lower case.
constexpr char ExtendedABase[] = "aaaaaa" "cccccccc" "dddd" "eeeeeeeeee" "gggggggg" "hhhh" "iiiiiiiiii" "ii" "jj"
                                 "kkk" "llllllllll" "nnnnnnnnn" "oooooooo" "rrrrrr" "ssssssss" "tttttt"
                                 "uuuuuuuuuuuu" "ww" "yyy" "zzzzzz" "s";
static_assert(sizeof ExtendedABase - 1 == 0x80, "one base letter per code point of U+0100 to U+017F");

void AppendFolded(std::wstring& out, wchar_t unit)
{
    const wchar_t lower = LowerUnit(unit);
    if (lower >= 0xE0 && lower <= 0xFF) {
        switch (lower) {
        case 0xE6:
            out += L"ae";
            return;
        case 0xF0:
            out += L'd';
            return;
        case 0xF7:
            out += lower;
            return;
        case 0xF8:
            out += L'o';
            return;
        case 0xFE:
            out += L"th";
            return;
        default: {
            const wchar_t base = FoldUpperLatin(static_cast<wchar_t>(lower - 0x20));
            out += base != lower - 0x20 ? static_cast<wchar_t>(base + 0x20) : lower == 0xFF ? L'y' : lower;
            return;
        }
        }
    }
    if (lower == 0xDF) {
        out += L"ss";
        return;
    }
    if (lower == 0x153) {
        out += L"oe";
        return;
    }
    if (lower >= 0x100 && lower <= 0x17F) {
        out += static_cast<wchar_t>(ExtendedABase[lower - 0x100]);
        return;
    }
    // Combining accents written apart from their letter.
    if (lower >= 0x300 && lower <= 0x36F) {
        return;
    }
    out += lower;
}

bool IsWordUnit(wchar_t unit)
{
    return std::iswalnum(static_cast<wint_t>(unit)) || unit >= 0xC0;
}

bool IsUpperUnit(wchar_t unit)
{
    return LowerUnit(unit) != unit;
}

std::vector<std::wstring> FoldedWords(std::wstring_view name)
{
    std::vector<std::wstring> words;
    bool inWord = false;
    for (size_t i = 0; i < name.size(); ++i) {
        const wchar_t unit = name[i];
        if (!IsWordUnit(unit)) {
            inWord = false;
            continue;
        }
        // "PowerPoint" is two words: an upper-case letter after a lower-case one starts one.
        const bool camelStart = inWord && i > 0 && IsUpperUnit(unit) && !IsUpperUnit(name[i - 1]) &&
                                std::iswalpha(static_cast<wint_t>(name[i - 1]));
        if (!inWord || camelStart) {
            words.emplace_back();
        }
        inWord = true;
        AppendFolded(words.back(), unit);
    }
    return words;
}

bool ConsumeWords(const std::vector<std::wstring>& words, const std::wstring& query, size_t queryAt, size_t wordAt,
                  std::vector<signed char>& memo)
{
    if (queryAt == query.size()) {
        return true;
    }
    if (wordAt == words.size()) {
        return false;
    }
    signed char& known = memo[queryAt * words.size() + wordAt];
    if (known >= 0) {
        return known == 1;
    }
    bool found = ConsumeWords(words, query, queryAt, wordAt + 1, memo);
    const std::wstring& word = words[wordAt];
    for (size_t length = 1; !found && length <= word.size() && queryAt + length <= query.size(); ++length) {
        if (word[length - 1] != query[queryAt + length - 1]) {
            break;
        }
        found = ConsumeWords(words, query, queryAt + length, wordAt + 1, memo);
    }
    known = found ? 1 : 0;
    return found;
}

bool RowsDiffer(float a, float b)
{
    return std::fabs(a - b) > 0.5f;
}

}  // namespace

std::wstring AppGroupKey(const AppEntry& entry)
{
    if (entry.name.empty()) {
        return L"#";
    }
    const wchar_t letter = FoldUpperLatin(UpperUnit(entry.name.front()));
    if (letter >= L'A' && letter <= L'Z') {
        return std::wstring(1, letter);
    }
    return L"#";
}

bool IsSkippedAppId(std::wstring_view appId)
{
    const std::wstring lower = LowerUnits(appId);
    for (const std::wstring_view extension : SkippedExtensions) {
        if (lower.size() >= extension.size() && lower.compare(lower.size() - extension.size(), extension.size(),
                                                              extension.data(), extension.size()) == 0) {
            return true;
        }
    }
    return false;
}

void SortAppCatalog(AppCatalog& catalog, const NameOrder& order)
{
    struct Keyed {
        std::wstring key;
        AppEntry entry;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(catalog.size());
    for (AppEntry& entry : catalog) {
        std::wstring key = AppGroupKey(entry);
        keyed.push_back({std::move(key), std::move(entry)});
    }
    std::stable_sort(keyed.begin(), keyed.end(), [&](const Keyed& a, const Keyed& b) {
        const bool aOther = a.key == L"#";
        const bool bOther = b.key == L"#";
        if (aOther != bOther) {
            return aOther;
        }
        if (a.key != b.key) {
            return a.key < b.key;
        }
        return order(a.entry.name, b.entry.name) < 0;
    });
    catalog.clear();
    for (Keyed& item : keyed) {
        catalog.push_back(std::move(item.entry));
    }
}

std::wstring AppLaunchPath(const AppEntry& entry)
{
    if (entry.appId.empty()) {
        return {};
    }
    return entry.source == AppSource::Shortcut ? entry.appId : L"shell:AppsFolder\\" + entry.appId;
}

LaunchpadGrid LayoutLaunchpadGrid(const AppCatalog& catalog, const std::vector<int>& matches, float width,
                                  float scale)
{
    LaunchpadGrid grid;
    const float usable = width - 2.0f * LaunchpadMargin * scale;
    grid.columns = std::max(1, static_cast<int>(std::floor(usable / (LaunchpadCellMinWidth * scale))));
    grid.cellWidth = usable / static_cast<float>(grid.columns);
    grid.cellHeight = LaunchpadCellHeight * scale;
    float y = 0.0f;
    int column = 0;
    std::wstring previousKey;
    for (size_t index = 0; index < matches.size(); ++index) {
        const int match = matches[index];
        if (match < 0 || static_cast<size_t>(match) >= catalog.size()) {
            continue;
        }
        std::wstring key = AppGroupKey(catalog[static_cast<size_t>(match)]);
        if (grid.cells.empty() || key != previousKey) {
            if (!grid.cells.empty()) {
                y += grid.cellHeight;
            }
            grid.headers.push_back({key, y});
            y += LaunchpadHeaderHeight * scale;
            column = 0;
            previousKey = std::move(key);
        } else if (column == grid.columns) {
            column = 0;
            y += grid.cellHeight;
        }
        grid.cells.push_back({LaunchpadMargin * scale + static_cast<float>(column) * grid.cellWidth, y});
        ++column;
    }
    grid.contentHeight = grid.cells.empty() ? 0.0f : y + grid.cellHeight;
    return grid;
}

float ClampLaunchpadScroll(float scroll, float contentHeight, float height, float scale)
{
    const float visible = height - LaunchpadMargin * scale - LaunchpadGridTop * scale;
    const float limit = std::max(0.0f, contentHeight - visible);
    return std::clamp(scroll, 0.0f, limit);
}

int LaunchpadHitTest(const LaunchpadGrid& grid, float x, float y, float height, float scroll, float scale)
{
    if (y < LaunchpadGridTop * scale || y >= height - LaunchpadMargin * scale) {
        return -1;
    }
    for (size_t index = 0; index < grid.cells.size(); ++index) {
        const GridPoint& cell = grid.cells[index];
        const float top = LaunchpadGridTop * scale + cell.y - scroll;
        if (x >= cell.x && x < cell.x + grid.cellWidth && y >= top && y < top + grid.cellHeight) {
            return static_cast<int>(index);
        }
    }
    return -1;
}

PixelRect PlaceLaunchpad(const PixelRect& work, float scale)
{
    const float workWidth = static_cast<float>(work.Width());
    const float workHeight = static_cast<float>(work.Height());
    const int width = static_cast<int>(std::max(std::min(1080.0f * scale, 0.72f * workWidth), 360.0f * scale));
    const int height = static_cast<int>(std::max(std::min(760.0f * scale, 0.82f * workHeight), 320.0f * scale));
    const int left = work.left + (work.Width() - width) / 2;
    const int top = work.top + (work.Height() - height) / 2;
    return RectFromSize(left, top, width, height);
}

std::wstring WithoutLastCharacter(std::wstring_view query)
{
    if (query.empty()) {
        return {};
    }
    size_t cut = query.size() - 1;
    if (cut > 0 && IsLowSurrogate(query[cut]) && IsHighSurrogate(query[cut - 1])) {
        --cut;
    }
    return std::wstring(query.substr(0, cut));
}

std::wstring LowerUnits(std::wstring_view text)
{
    std::wstring lower(text);
    for (wchar_t& unit : lower) {
        unit = LowerUnit(unit);
    }
    return lower;
}

std::wstring FoldForMatch(std::wstring_view text)
{
    std::wstring folded;
    folded.reserve(text.size());
    for (const wchar_t unit : text) {
        AppendFolded(folded, unit);
    }
    return folded;
}

bool MatchesWordStarts(std::wstring_view name, std::wstring_view query)
{
    std::wstring folded;
    for (const wchar_t unit : FoldForMatch(query)) {
        if (IsWordUnit(unit)) {
            folded += unit;
        }
    }
    if (folded.empty()) {
        return false;
    }
    const std::vector<std::wstring> words = FoldedWords(name);
    if (words.empty()) {
        return false;
    }
    std::vector<signed char> memo(folded.size() * words.size(), -1);
    return ConsumeWords(words, folded, 0, 0, memo);
}

std::vector<int> MatchApps(const AppCatalog& catalog, std::wstring_view query)
{
    std::vector<int> matches;
    if (query.empty()) {
        for (size_t index = 0; index < catalog.size(); ++index) {
            matches.push_back(static_cast<int>(index));
        }
        return matches;
    }
    std::vector<bool> taken(catalog.size(), false);
    const auto pass = [&](const auto& test) {
        for (size_t index = 0; index < catalog.size(); ++index) {
            if (!taken[index] && test(catalog[index].name)) {
                taken[index] = true;
                matches.push_back(static_cast<int>(index));
            }
        }
    };
    const std::wstring lowerQuery = LowerUnits(query);
    pass([&](const std::wstring& name) { return LowerUnits(name).find(lowerQuery) != std::wstring::npos; });
    pass([&](const std::wstring& name) { return MatchesWordStarts(name, query); });
    const std::wstring foldedQuery = FoldForMatch(query);
    if (!foldedQuery.empty()) {
        pass([&](const std::wstring& name) { return FoldForMatch(name).find(foldedQuery) != std::wstring::npos; });
    }
    return matches;
}

int MoveHighlight(const LaunchpadGrid& grid, int current, HighlightMove move, int pageRows)
{
    const int count = static_cast<int>(grid.cells.size());
    if (count == 0) {
        return -1;
    }
    if (current < 0 || current >= count) {
        return 0;
    }
    // The nearest cell of the next row up or down, -1 when there is none.
    const auto step = [&](int from, int direction) {
        const GridPoint& at = grid.cells[static_cast<size_t>(from)];
        int index = from + direction;
        while (index >= 0 && index < count && !RowsDiffer(grid.cells[static_cast<size_t>(index)].y, at.y)) {
            index += direction;
        }
        if (index < 0 || index >= count) {
            return -1;
        }
        const float rowY = grid.cells[static_cast<size_t>(index)].y;
        int best = index;
        for (int other = index; other >= 0 && other < count; other += direction) {
            const GridPoint& cell = grid.cells[static_cast<size_t>(other)];
            if (RowsDiffer(cell.y, rowY)) {
                break;
            }
            if (std::fabs(cell.x - at.x) < std::fabs(grid.cells[static_cast<size_t>(best)].x - at.x)) {
                best = other;
            }
        }
        return best;
    };
    const auto repeat = [&](int direction, int times) {
        int at = current;
        for (int i = 0; i < std::max(1, times); ++i) {
            const int next = step(at, direction);
            if (next < 0) {
                return direction < 0 ? (i == 0 ? 0 : at) : (i == 0 ? count - 1 : at);
            }
            at = next;
        }
        return at;
    };
    switch (move) {
    case HighlightMove::Left:
        return std::max(0, current - 1);
    case HighlightMove::Right:
        return std::min(count - 1, current + 1);
    case HighlightMove::Up: {
        const int up = step(current, -1);
        return up < 0 ? current : up;
    }
    case HighlightMove::Down: {
        const int down = step(current, +1);
        return down < 0 ? current : down;
    }
    case HighlightMove::PageUp:
        return repeat(-1, pageRows);
    case HighlightMove::PageDown:
        return repeat(+1, pageRows);
    case HighlightMove::Home:
        return 0;
    case HighlightMove::End:
        return count - 1;
    }
    return current;
}

float ScrollToShowCell(const LaunchpadGrid& grid, int cell, float scroll, float height, float scale)
{
    if (cell < 0 || static_cast<size_t>(cell) >= grid.cells.size()) {
        return scroll;
    }
    const float visible = height - LaunchpadMargin * scale - LaunchpadGridTop * scale;
    const float top = grid.cells[static_cast<size_t>(cell)].y;
    const float bottom = top + grid.cellHeight;
    // The first row of a group brings its header along.
    const bool firstOfGroup = std::any_of(grid.headers.begin(), grid.headers.end(), [&](const GridHeader& header) {
        return !RowsDiffer(header.y + LaunchpadHeaderHeight * scale, top);
    });
    const float wantedTop = firstOfGroup ? top - LaunchpadHeaderHeight * scale : top;
    float result = scroll;
    if (wantedTop < result) {
        result = wantedTop;
    } else if (bottom > result + visible) {
        result = bottom - visible;
    }
    return ClampLaunchpadScroll(result, grid.contentHeight, height, scale);
}

LaunchpadTint LaunchpadTintFrom(double red, double green, double blue)
{
    const auto channel = [](double average) { return static_cast<float>((average * 0.4 + 153.0) / 255.0); };
    return {channel(red), channel(green), channel(blue), 0.94f};
}

}  // namespace cadrels
