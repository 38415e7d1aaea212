// What the file search finds and how it lays it out, as plain functions over
// the records: which tab folders are read and in what order, the name rule,
// the stop at ten results, the window's height, and where the selection
// goes when new results arrive. Built and tested on any host.
#pragma once

#include "model/Records.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace cadrels {

struct FileSearchResult {
    std::wstring path;
    std::wstring name;
    std::wstring cadrelName;
    std::wstring pageName;
    int pageIndex = 0;

    friend bool operator==(const FileSearchResult&, const FileSearchResult&) = default;
};

inline constexpr std::size_t MaxSearchResults = 10;

// Lengths of the search window at 96 DPI.
inline constexpr int SearchBarWidth = 700;
inline constexpr int SearchBarHeight = 60;
inline constexpr int SearchRowHeight = 50;
inline constexpr int SearchRowsTop = 66;
inline constexpr int SearchListPadding = 12;

// A cadrel's name: the title of its record's first tab, empty without tabs.
std::wstring CadrelName(const CadrelRecord& record);

// One tab folder to read, with where its results are said to be.
struct SearchFolder {
    std::wstring folder;
    std::wstring cadrelName;
    std::wstring pageName;
    int pageIndex = 0;
};

// Every tab with a folder, page by page, cadrel by cadrel, tab by tab; with a
// scope, only the cadrels whose name is exactly it (ordinal, case kept). A
// folder shown by two tabs is read twice.
std::vector<SearchFolder> SearchPlan(const std::vector<Workspace>& pages, const std::wstring& scope);

// One UTF-16 unit lower-cased on its own: Latin, Greek and Cyrillic by the
// table below, other letters by the C library. A pair of surrogates folds
// as two units, that is, not at all.
wchar_t FoldUnit(wchar_t unit);
std::wstring FoldCase(std::wstring_view text);

// The name the search matches: the text after the last separator of the
// path, trailing separators ignored.
std::wstring_view SearchName(std::wstring_view path);

// A listed entry as the search keeps it: the path and its folded name.
struct SearchEntry {
    std::wstring path;
    std::wstring folded;
};
SearchEntry MakeSearchEntry(std::wstring path);

// The entries of a folder, or null while it is not listed yet.
using SearchEntriesOf = std::function<const std::vector<SearchEntry>*(const std::wstring& folder)>;

struct SearchOutcome {
    std::vector<FileSearchResult> results;
    // Folders the plan reached that were not listed: their matches are
    // missing from `results`, which hold those of the folders after them
    // meanwhile.
    std::vector<std::wstring> unlisted;
};

// The search of `foldedQuery` (already folded, not empty) over the plan in
// order, each folder's entries in their listed order, stopping at the tenth
// match even inside a folder.
SearchOutcome CollectResults(const std::vector<SearchFolder>& plan, std::wstring_view foldedQuery,
                             const SearchEntriesOf& entriesOf);

// The window's height for `count` results at `scale`: the bar alone without
// results, else the bar, the rows and the padding below them.
int SearchWindowHeight(std::size_t count, float scale);

// After new results: the row of the path that was selected when it is still
// there, else the first.
int SelectionAfterResults(const std::wstring& selectedPath, const std::vector<FileSearchResult>& results);

// Up and Down: one row, never before the first or past the last.
int MovedSelection(int selected, int step, std::size_t count);

// Where the folded query lies in a result's name: the first occurrence, as
// [start, start + length) in units of the name; length 0 without one.
struct NameMatch {
    std::size_t start = 0;
    std::size_t length = 0;
};
NameMatch FindNameMatch(std::wstring_view name, std::wstring_view foldedQuery);

// A channel of the bar's backdrop from the average of that channel under
// it (0..255): a dark tint of what lies below, (average * 0.2 + 20) / 255.
float DarkBackdropChannel(double average);
inline constexpr float DarkBackdropAlpha = 0.96f;

// The locale text formats take for the interface language (0 French ...).
const wchar_t* InterfaceTextLocale(int language);

}  // namespace cadrels
