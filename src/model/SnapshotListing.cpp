#include "model/SnapshotListing.h"

#include "i18n/TextEncoding.h"
#include "model/DigitText.h"
#include "model/NewestFirst.h"

#include <algorithm>

namespace cadrels {

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
    if (!HasDigitShape(text, L"0000-00-00 00:00")) {
        return false;
    }
    const int month = DigitField(text, 5, 2);
    const int day = DigitField(text, 8, 2);
    return month >= 1 && month <= 12 && day >= 1 && day <= 31 && DigitField(text, 11, 2) <= 23 &&
           DigitField(text, 14, 2) <= 59;
}

void OrderSnapshotsNewestFirst(std::vector<SnapshotEntry>& entries, const LastWriteAsTimeText& lastWriteAsTimeText)
{
    // Fixed-width digits: the texts order as the times do.
    std::vector<std::wstring> keys;
    keys.reserve(entries.size());
    for (const SnapshotEntry& entry : entries) {
        keys.push_back(IsSnapshotTimeText(entry.created) ? entry.created : lastWriteAsTimeText(entry.lastWrite));
    }
    OrderNewestFirstByKey(entries, keys);
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
