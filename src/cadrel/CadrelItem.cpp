#include "cadrel/CadrelItem.h"

#include <algorithm>
#include <cwctype>

namespace cadrels {

namespace {

wchar_t Lower(wchar_t c)
{
    return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
}

bool EndsWithNoCase(std::wstring_view text, std::wstring_view suffix)
{
    return text.size() >= suffix.size() && CompareNoCase(text.substr(text.size() - suffix.size()), suffix) == 0;
}

template <typename T>
int CompareValues(T a, T b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

int CompareByKey(const CadrelItem& a, const CadrelItem& b, int key)
{
    switch (key) {
    case SortByType:
        return CompareNoCase(ItemExtension(a.name), ItemExtension(b.name));
    case SortByDate:
        return CompareValues(a.time, b.time);
    case SortBySize:
        return CompareValues(a.size, b.size);
    default:
        return 0;
    }
}

}  // namespace

std::wstring ItemDisplayName(std::wstring_view path)
{
    std::wstring_view name = LastPathComponent(path);
    // ".lnk" alone is a file without a base name; it keeps its text.
    if (name.size() > 4 && (EndsWithNoCase(name, L".lnk") || EndsWithNoCase(name, L".url"))) {
        name.remove_suffix(4);
    }
    return std::wstring(name);
}

std::wstring ItemExtension(std::wstring_view path)
{
    const std::wstring_view name = LastPathComponent(path);
    const size_t dot = name.rfind(L'.');
    if (dot == std::wstring_view::npos) {
        return {};
    }
    std::wstring extension(name.substr(dot + 1));
    std::transform(extension.begin(), extension.end(), extension.begin(), Lower);
    return extension;
}

int CompareNoCase(std::wstring_view a, std::wstring_view b)
{
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        // Items of one folder share a long prefix: equal characters need no
        // case folding.
        if (a[i] == b[i]) {
            continue;
        }
        const wchar_t x = Lower(a[i]);
        const wchar_t y = Lower(b[i]);
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    return CompareValues(a.size(), b.size());
}

void ApplyPinned(std::vector<CadrelItem>& items, const std::vector<std::wstring>& pinnedNames)
{
    for (CadrelItem& item : items) {
        const std::wstring_view fileName = LastPathComponent(item.path);
        item.pinned = std::any_of(pinnedNames.begin(), pinnedNames.end(), [&](const std::wstring& pinned) {
            return !pinned.empty() && CompareNoCase(pinned, fileName) == 0;
        });
    }
}

void SortItems(std::vector<CadrelItem>& items, int key, bool descending)
{
    std::stable_sort(items.begin(), items.end(), [&](const CadrelItem& a, const CadrelItem& b) {
        if (a.pinned != b.pinned) {
            return a.pinned;
        }
        if (a.isFolder != b.isFolder) {
            return a.isFolder;
        }
        int order = CompareByKey(a, b, key);
        if (order == 0) {
            order = CompareNoCase(a.path, b.path);
        }
        return descending ? order > 0 : order < 0;
    });
}

}  // namespace cadrels
