#include "sorting/FileClasses.h"

#include "model/ContainerFolders.h"
#include "model/PathText.h"

#include <array>
#include <cwctype>
#include <initializer_list>

namespace cadrels {
namespace {

struct Family {
    const wchar_t* folder;
    std::initializer_list<const wchar_t*> extensions;
};

const std::array<Family, 9>& Families()
{
    static const std::array<Family, 9> families = {{
        {L"Images", {L"jpg", L"jpeg", L"png", L"gif", L"bmp", L"webp", L"svg", L"heic", L"tif", L"tiff", L"ico",
                     L"raw", L"cr2", L"nef"}},
        {L"Vid\u00e9os", {L"mp4", L"avi", L"mkv", L"mov", L"wmv", L"flv", L"webm", L"m4v", L"mpg", L"mpeg", L"3gp"}},
        {L"Audio", {L"mp3", L"wav", L"flac", L"aac", L"ogg", L"m4a", L"wma", L"opus", L"aiff"}},
        {L"PDF", {L"pdf"}},
        {L"Documents", {L"doc", L"docx", L"odt", L"rtf", L"txt", L"md", L"tex", L"pages", L"wpd"}},
        {L"Tableurs", {L"xls", L"xlsx", L"csv", L"ods", L"numbers"}},
        {L"Pr\u00e9sentations", {L"ppt", L"pptx", L"odp", L"key"}},
        {L"Archives", {L"zip", L"rar", L"7z", L"tar", L"gz", L"bz2", L"xz", L"iso", L"cab"}},
        {L"Ex\u00e9cutables", {L"exe", L"msi", L"bat", L"cmd", L"com", L"scr", L"ps1"}},
    }};
    return families;
}

// Days since 1970-01-01 to a proleptic Gregorian date (Howard Hinnant's
// civil_from_days), exact for every date a FILETIME can hold.
void CivilFromDays(std::int64_t days, std::int64_t& year, unsigned& month)
{
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    month = static_cast<unsigned>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
}

}  // namespace

std::wstring FamilyExtensionOf(std::wstring_view path)
{
    const size_t slash = path.find_last_of(L"\\/");
    const size_t dot = path.rfind(L'.');
    if (dot == std::wstring_view::npos || (slash != std::wstring_view::npos && dot < slash)) {
        return {};
    }
    std::wstring extension(path.substr(dot + 1));
    for (wchar_t& c : extension) {
        c = static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(c)));
    }
    return extension;
}

std::wstring TypeFamily(std::wstring_view extension)
{
    if (extension == L"lnk" || extension == L"url") {
        return {};
    }
    for (const Family& family : Families()) {
        for (const wchar_t* listed : family.extensions) {
            if (extension == listed) {
                return family.folder;
            }
        }
    }
    return L"Autres";
}

std::wstring MonthFolder(std::uint64_t fileTime)
{
    // 1601-01-01 to 1970-01-01 is 134774 days.
    const std::int64_t days = static_cast<std::int64_t>(fileTime / TicksPerDay) - 134774;
    std::int64_t year = 0;
    unsigned month = 0;
    CivilFromDays(days, year, month);
    std::wstring text = std::to_wstring(year);
    text.insert(0, text.size() < 4 ? 4 - text.size() : 0, L'0');
    text += month < 10 ? L"-0" : L"-";
    text += std::to_wstring(month);
    return text;
}

std::wstring ClassifyBucket(const std::wstring& path, int mode, FileFacts& facts)
{
    if (mode == ClassifyByType) {
        return TypeFamily(FamilyExtensionOf(path));
    }
    if (mode == ClassifyByMonth) {
        const std::optional<FileStat> stat = facts.Stat(path);
        return stat ? MonthFolder(stat->lastWrite) : std::wstring();
    }
    return {};
}

bool IsMovableEntry(std::wstring_view name, std::uint32_t attributes)
{
    if ((attributes & (EntryHidden | EntrySystem | EntryDirectory | EntryReparsePoint)) != 0) {
        return false;
    }
    return !name.empty() && name != L"." && name != L".." && !EqualsIgnoringAsciiCase(name, L"desktop.ini") &&
           !EqualsIgnoringAsciiCase(name, ContainerMarkerName);
}

std::wstring ParentFolderOf(std::wstring_view path)
{
    while (!path.empty() && IsPathSeparator(path.back())) {
        path.remove_suffix(1);
    }
    const size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring_view::npos) {
        return {};
    }
    std::wstring_view parent = path.substr(0, slash);
    while (!parent.empty() && IsPathSeparator(parent.back())) {
        parent.remove_suffix(1);
    }
    // "C:" alone names the drive's current directory; the root is "C:\".
    if (parent.size() == 2 && parent[1] == L':') {
        return std::wstring(parent) + L'\\';
    }
    return std::wstring(parent);
}

}  // namespace cadrels
