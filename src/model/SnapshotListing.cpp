#include "model/SnapshotListing.h"

#include "i18n/TextEncoding.h"

#include <algorithm>
#include <numeric>

namespace cadrels {
namespace {

bool IsDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

int Field(std::wstring_view text, size_t from, size_t digits)
{
    int value = 0;
    for (size_t i = from; i < from + digits; ++i) {
        value = value * 10 + (text[i] - L'0');
    }
    return value;
}

}  // namespace

std::optional<SnapshotEntry> SnapshotEntryFromDocument(const JsonValue& root, const std::wstring& path,
                                                       const std::wstring& fileName, std::uint64_t lastWrite)
{
    if (!root.IsObject() || (root.Find("workspaces") == nullptr && root.Find("cadrels") == nullptr)) {
        return std::nullopt;
    }
    SnapshotEntry entry;
    entry.path = path;
    entry.lastWrite = lastWrite;
    if (const JsonValue* name = root.Find("name"); name != nullptr && name->IsString()) {
        entry.name = Utf8ToWide(name->StringOr(""));
    }
    if (entry.name.empty()) {
        entry.name = fileName;
    }
    if (const JsonValue* created = root.Find("created"); created != nullptr && created->IsString()) {
        entry.created = Utf8ToWide(created->StringOr(""));
    }
    const JsonValue* isAuto = root.Find("auto");
    entry.isAuto = isAuto != nullptr && isAuto->IsNumber() && isAuto->NumberOr(0) != 0;
    return entry;
}

SnapshotEntry SnapshotEntryByName(const std::wstring& path, const std::wstring& fileName, std::uint64_t lastWrite)
{
    SnapshotEntry entry;
    entry.path = path;
    entry.name = fileName;
    entry.lastWrite = lastWrite;
    return entry;
}

bool IsSnapshotTimeText(std::wstring_view text)
{
    static constexpr std::wstring_view Shape = L"0000-00-00 00:00";
    if (text.size() != Shape.size()) {
        return false;
    }
    for (size_t i = 0; i < Shape.size(); ++i) {
        if (Shape[i] == L'0' ? !IsDigit(text[i]) : text[i] != Shape[i]) {
            return false;
        }
    }
    const int month = Field(text, 5, 2);
    const int day = Field(text, 8, 2);
    return month >= 1 && month <= 12 && day >= 1 && day <= 31 && Field(text, 11, 2) <= 23 && Field(text, 14, 2) <= 59;
}

void OrderSnapshotsNewestFirst(std::vector<SnapshotEntry>& entries, const LastWriteAsTimeText& lastWriteAsTimeText)
{
    // Fixed-width digits: the texts order as the times do.
    std::vector<std::wstring> keys;
    keys.reserve(entries.size());
    for (const SnapshotEntry& entry : entries) {
        keys.push_back(IsSnapshotTimeText(entry.created) ? entry.created : lastWriteAsTimeText(entry.lastWrite));
    }
    std::vector<size_t> order(entries.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        if (keys[a] != keys[b]) {
            return keys[a] > keys[b];
        }
        if (entries[a].lastWrite != entries[b].lastWrite) {
            return entries[a].lastWrite > entries[b].lastWrite;
        }
        // Same minute and same write time: the path keeps the order the same
        // from one listing to the next.
        return entries[a].path < entries[b].path;
    });
    std::vector<SnapshotEntry> ordered;
    ordered.reserve(entries.size());
    for (size_t index : order) {
        ordered.push_back(std::move(entries[index]));
    }
    entries = std::move(ordered);
}

std::vector<std::wstring> SnapshotsBeyondRetention(const std::vector<SnapshotEntry>& newestFirst, int keep)
{
    const size_t kept = static_cast<size_t>(std::max(keep, 0));
    std::vector<std::wstring> beyond;
    size_t automatic = 0;
    for (const SnapshotEntry& entry : newestFirst) {
        if (entry.isAuto && ++automatic > kept) {
            beyond.push_back(entry.path);
        }
    }
    return beyond;
}

bool SetSnapshotName(JsonValue& document, std::string_view utf8Name)
{
    if (!document.IsObject()) {
        return false;
    }
    for (JsonValue::Member& member : document.MutableMembers()) {
        if (member.first == "name") {
            member.second = JsonValue(utf8Name);
            return true;
        }
    }
    document.Append("name", JsonValue(utf8Name));
    return true;
}

}  // namespace cadrels
