#include "model/FolderKeywords.h"

#include "model/PathText.h"

#include <knownfolders.h>

#include <array>
#include <string_view>

namespace cadrels {
namespace {

constexpr DWORD ExpansionBufferChars = 1024;

struct Keyword {
    std::wstring_view name;
    const GUID* folder;
};

const std::array<Keyword, 15> Keywords = {{
    {L"desktop", &FOLDERID_Desktop},
    {L"bureau", &FOLDERID_Desktop},
    {L"documents", &FOLDERID_Documents},
    {L"downloads", &FOLDERID_Downloads},
    {L"telechargements", &FOLDERID_Downloads},
    {L"pictures", &FOLDERID_Pictures},
    {L"images", &FOLDERID_Pictures},
    {L"music", &FOLDERID_Music},
    {L"musique", &FOLDERID_Music},
    {L"videos", &FOLDERID_Videos},
    {L"video", &FOLDERID_Videos},
    {L"public", &FOLDERID_Public},
    {L"profile", &FOLDERID_Profile},
    {L"userprofile", &FOLDERID_Profile},
    {L"programdata", &FOLDERID_ProgramData},
}};

const GUID* KeywordFolder(std::wstring_view keyword)
{
    for (const Keyword& known : Keywords) {
        if (EqualsIgnoringAsciiCase(known.name, keyword)) {
            return known.folder;
        }
    }
    return nullptr;
}

std::wstring ReplaceKeyword(const std::wstring& text, const FolderResolver& resolve)
{
    if (text.empty() || text.front() != L'{') {
        return text;
    }
    const size_t close = text.find(L'}');
    if (close == std::wstring::npos) {
        return text;
    }
    const GUID* folder = KeywordFolder(std::wstring_view(text).substr(1, close - 1));
    if (folder == nullptr) {
        return text;
    }
    const std::wstring path = resolve(*folder);
    return path.empty() ? text : path + text.substr(close + 1);
}

}  // namespace

std::wstring ExpandEnvironment(const std::wstring& text)
{
    wchar_t buffer[ExpansionBufferChars];
    const DWORD needed = ExpandEnvironmentStringsW(text.c_str(), buffer, ExpansionBufferChars);
    if (needed == 0 || needed > ExpansionBufferChars) {
        return text;
    }
    return buffer;
}

std::wstring ResolveFolderKeyword(const std::wstring& text, const FolderResolver& resolve)
{
    return ExpandEnvironment(ReplaceKeyword(text, resolve));
}

}  // namespace cadrels
