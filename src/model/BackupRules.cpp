#include "model/BackupRules.h"

#include "i18n/TextEncoding.h"
#include "model/DigitText.h"
#include "model/NewestFirst.h"
#include "model/PathText.h"
#include "model/SettingsJson.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>

namespace cadrels {
namespace {

constexpr std::int64_t EveryChangeSeconds = 120;
constexpr std::int64_t DaySeconds = 86400;
constexpr std::int64_t WeekSeconds = 604800;

bool CanExist(int month, int day, int hour, int minute, int second)
{
    return month >= 1 && month <= 12 && day >= 1 && day <= 31 && hour <= 23 && minute <= 59 && second <= 59;
}

std::wstring Digits(int value, int width)
{
    wchar_t text[16];
    std::swprintf(text, 16, L"%0*d", width, value);
    return text;
}

// The members a backup adds to the settings, and `backupLast`, which holds
// when the previous backup was made and so differs in every backup.
bool IsBookkeepingMember(const std::string& key)
{
    return key == "name" || key == "created" || key == "auto" || key == "backupLast";
}

JsonValue WithoutBookkeeping(const JsonValue& document)
{
    JsonValue stripped = JsonValue::MakeObject();
    for (const JsonValue::Member& member : document.Members()) {
        if (!IsBookkeepingMember(member.first)) {
            stripped.Append(member.first, member.second);
        }
    }
    return stripped;
}

}  // namespace

std::int64_t BackupIntervalSeconds(int frequency)
{
    switch (frequency) {
    case 0:
        return EveryChangeSeconds;
    case 2:
        return WeekSeconds;
    default:
        return DaySeconds;
    }
}

bool BackupIsDue(const Settings& settings, std::int64_t now, bool force)
{
    if (settings.backupFolder.empty() && !settings.backupCloud) {
        return false;
    }
    if (force) {
        return true;
    }
    if (!settings.backupEnabled) {
        return false;
    }
    const auto last = static_cast<std::int64_t>(settings.backupLast);
    return last <= 0 || now - last >= BackupIntervalSeconds(settings.backupFreq);
}

std::wstring BackupFileName(const BackupStamp& stamp)
{
    wchar_t text[64];
    std::swprintf(text, 64, L"%ls%04d%02d%02d-%02d%02d%02d%ls", BackupFilePrefix, stamp.year, stamp.month, stamp.day,
                  stamp.hour, stamp.minute, stamp.second, BackupFileExtension);
    return text;
}

std::wstring BackupTimeText(const BackupStamp& stamp)
{
    wchar_t text[32];
    std::swprintf(text, 32, L"%04d-%02d-%02d %02d:%02d", stamp.year, stamp.month, stamp.day, stamp.hour,
                  stamp.minute);
    return text;
}

std::wstring BackupOrderKey(const BackupStamp& stamp)
{
    return Digits(stamp.year, 4) + Digits(stamp.month, 2) + Digits(stamp.day, 2) + Digits(stamp.hour, 2) +
           Digits(stamp.minute, 2) + Digits(stamp.second, 2);
}

std::optional<std::wstring> BackupOrderKeyFromFileName(std::wstring_view fileName)
{
    static constexpr std::wstring_view Prefix = BackupFilePrefix;
    static constexpr std::wstring_view Extension = BackupFileExtension;
    if (fileName.size() <= Prefix.size() + Extension.size()) {
        return std::nullopt;
    }
    // The prefix and extension as Windows compares file names: the pattern
    // search found them without regard to case.
    for (size_t i = 0; i < Prefix.size(); ++i) {
        if (std::towlower(fileName[i]) != std::towlower(Prefix[i])) {
            return std::nullopt;
        }
    }
    const std::wstring_view stamp = fileName.substr(Prefix.size(), fileName.size() - Prefix.size() - Extension.size());
    if (!HasDigitShape(stamp, L"00000000-000000")) {
        return std::nullopt;
    }
    if (!CanExist(DigitField(stamp, 4, 2), DigitField(stamp, 6, 2), DigitField(stamp, 9, 2),
                  DigitField(stamp, 11, 2), DigitField(stamp, 13, 2))) {
        return std::nullopt;
    }
    std::wstring key(stamp.substr(0, 8));
    key += stamp.substr(9, 6);
    return key;
}

std::optional<std::wstring> BackupOrderKeyFromCreated(std::wstring_view created)
{
    if (!HasDigitShape(created, L"0000-00-00 00:00") ||
        !CanExist(DigitField(created, 5, 2), DigitField(created, 8, 2), DigitField(created, 11, 2),
                  DigitField(created, 14, 2), 0)) {
        return std::nullopt;
    }
    std::wstring key;
    key += created.substr(0, 4);
    key += created.substr(5, 2);
    key += created.substr(8, 2);
    key += created.substr(11, 2);
    key += created.substr(14, 2);
    key += L"00";
    return key;
}

BackupEntry BackupEntryFromDocument(const JsonValue* root, const std::wstring& path, const std::wstring& fileName,
                                    std::uint64_t lastWrite)
{
    BackupEntry entry;
    entry.path = path;
    entry.lastWrite = lastWrite;
    if (root != nullptr && root->IsObject()) {
        if (const JsonValue* name = root->Find("name"); name != nullptr && name->IsString()) {
            entry.name = Utf8ToWide(name->StringOr(""));
        }
        if (const JsonValue* created = root->Find("created"); created != nullptr && created->IsString()) {
            entry.created = Utf8ToWide(created->StringOr(""));
        }
        entry.readable = root->Find("workspaces") != nullptr || root->Find("cadrels") != nullptr;
    }
    if (entry.name.empty()) {
        entry.name = fileName;
    }
    return entry;
}

void OrderBackupsNewestFirst(std::vector<BackupEntry>& entries, const LastWriteAsOrderKey& lastWriteAsOrderKey)
{
    std::vector<std::wstring> keys;
    keys.reserve(entries.size());
    for (const BackupEntry& entry : entries) {
        std::optional<std::wstring> key = BackupOrderKeyFromFileName(LastPathComponent(entry.path));
        if (!key) {
            key = BackupOrderKeyFromCreated(entry.created);
        }
        keys.push_back(key ? *key : lastWriteAsOrderKey(entry.lastWrite));
    }
    OrderNewestFirstByKey(entries, keys);
}

std::vector<std::wstring> BackupsBeyondRetention(const std::vector<BackupEntry>& newestFirst, int keep)
{
    const size_t kept = static_cast<size_t>(std::max(keep, 1));
    std::vector<std::wstring> beyond;
    size_t readable = 0;
    for (const BackupEntry& entry : newestFirst) {
        if (readable >= kept) {
            beyond.push_back(entry.path);
        } else if (entry.readable) {
            ++readable;
        }
    }
    return beyond;
}

JsonValue BackupDocument(const Settings& settings, const BackupStamp& stamp)
{
    JsonValue document = SettingsToJson(settings);
    const std::string text = WideToUtf8(BackupTimeText(stamp));
    document.Append("name", text);
    document.Append("created", text);
    document.Append("auto", 1);
    return document;
}

bool SameArrangement(const JsonValue& a, const JsonValue& b)
{
    return a.IsObject() && b.IsObject() && WithoutBookkeeping(a) == WithoutBookkeeping(b);
}

}  // namespace cadrels
