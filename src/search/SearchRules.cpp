#include "search/SearchRules.h"

#include "model/PathText.h"

#include <cmath>
#include <cwctype>
#include <iterator>
#include <utility>

namespace cadrels {

std::wstring CadrelName(const CadrelRecord& record)
{
    return record.tabs.empty() ? std::wstring() : record.tabs.front().title;
}

std::vector<SearchFolder> SearchPlan(const std::vector<Workspace>& pages, const std::wstring& scope)
{
    std::vector<SearchFolder> plan;
    for (std::size_t page = 0; page < pages.size(); ++page) {
        for (const CadrelRecord& record : pages[page].cadrels) {
            const std::wstring name = CadrelName(record);
            if (!scope.empty() && name != scope) {
                continue;
            }
            for (const CadrelTab& tab : record.tabs) {
                if (!tab.folder.empty()) {
                    plan.push_back({tab.folder, name, pages[page].name, static_cast<int>(page)});
                }
            }
        }
    }
    return plan;
}

wchar_t FoldUnit(wchar_t unit)
{
    const unsigned c = unit;
    if (c < 0x80) {
        return c >= 'A' && c <= 'Z' ? static_cast<wchar_t>(c + 32) : unit;
    }
    // The C library's tables depend on the locale and the runtime; the
    // letters users of the nineteen languages type most fold the same
    // everywhere by these.
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) {
        return static_cast<wchar_t>(c + 32);
    }
    if (c == 0x130) {
        return L'i';
    }
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) {
        return static_cast<wchar_t>(c | 1);
    }
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) {
        return static_cast<wchar_t>(c % 2 == 1 ? c + 1 : c);
    }
    if (c == 0x178) {
        return static_cast<wchar_t>(0xFF);
    }
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) {
        return static_cast<wchar_t>(c + 32);
    }
    if (c == 0x386) {
        return static_cast<wchar_t>(0x3AC);
    }
    if (c >= 0x388 && c <= 0x38A) {
        return static_cast<wchar_t>(c + 37);
    }
    if (c == 0x38C) {
        return static_cast<wchar_t>(0x3CC);
    }
    if (c == 0x38E || c == 0x38F) {
        return static_cast<wchar_t>(c + 63);
    }
    if (c >= 0x410 && c <= 0x42F) {
        return static_cast<wchar_t>(c + 32);
    }
    if (c >= 0x400 && c <= 0x40F) {
        return static_cast<wchar_t>(c + 80);
    }
    if (c >= 0xD800 && c <= 0xDFFF) {
        return unit;
    }
    return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(unit)));
}

std::wstring FoldCase(std::wstring_view text)
{
    std::wstring folded(text);
    for (wchar_t& unit : folded) {
        unit = FoldUnit(unit);
    }
    return folded;
}

std::wstring_view SearchName(std::wstring_view path)
{
    return LastPathComponent(path);
}

SearchEntry MakeSearchEntry(std::wstring path)
{
    SearchEntry entry;
    entry.folded = FoldCase(SearchName(path));
    entry.path = std::move(path);
    return entry;
}

SearchOutcome CollectResults(const std::vector<SearchFolder>& plan, std::wstring_view foldedQuery,
                             const SearchEntriesOf& entriesOf)
{
    SearchOutcome outcome;
    if (foldedQuery.empty()) {
        return outcome;
    }
    for (const SearchFolder& folder : plan) {
        const std::vector<SearchEntry>* entries = entriesOf(folder.folder);
        if (entries == nullptr) {
            outcome.unlisted.push_back(folder.folder);
            continue;
        }
        for (const SearchEntry& entry : *entries) {
            if (entry.folded.find(foldedQuery) == std::wstring::npos) {
                continue;
            }
            outcome.results.push_back({entry.path, std::wstring(SearchName(entry.path)), folder.cadrelName,
                                       folder.pageName, folder.pageIndex});
            if (outcome.results.size() == MaxSearchResults) {
                return outcome;
            }
        }
    }
    return outcome;
}

int SearchWindowHeight(std::size_t count, float scale)
{
    float height = SearchBarHeight * scale;
    if (count > 0) {
        height += SearchRowHeight * scale * static_cast<float>(count) + SearchListPadding * scale;
    }
    return static_cast<int>(std::lround(height));
}

int SelectionAfterResults(const std::wstring& selectedPath, const std::vector<FileSearchResult>& results)
{
    if (!selectedPath.empty()) {
        for (std::size_t i = 0; i < results.size(); ++i) {
            if (results[i].path == selectedPath) {
                return static_cast<int>(i);
            }
        }
    }
    return 0;
}

int MovedSelection(int selected, int step, std::size_t count)
{
    const int moved = selected + step;
    if (moved < 0 || moved >= static_cast<int>(count)) {
        return selected;
    }
    return moved;
}

NameMatch FindNameMatch(std::wstring_view name, std::wstring_view foldedQuery)
{
    if (foldedQuery.empty()) {
        return {};
    }
    const std::size_t start = FoldCase(name).find(foldedQuery);
    if (start == std::wstring::npos) {
        return {};
    }
    return {start, foldedQuery.size()};
}

float DarkBackdropChannel(double average)
{
    return static_cast<float>((average * 0.2 + 20.0) / 255.0);
}

const wchar_t* InterfaceTextLocale(int language)
{
    static constexpr const wchar_t* Locales[] = {
        L"fr-fr", L"en-us", L"es-es", L"de-de", L"it-it", L"pt-br", L"nl-nl", L"pl-pl", L"ru-ru", L"tr-tr",
        L"zh-cn", L"ja-jp", L"ko-kr", L"hi-in", L"bn-bd", L"id-id", L"vi-vn", L"th-th", L"zh-tw",
    };
    if (language < 0 || language >= static_cast<int>(std::size(Locales))) {
        return Locales[0];
    }
    return Locales[language];
}

}  // namespace cadrels
