#include "sorting/ShellFileFacts.h"

#include <windows.h>
#include <objidl.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <wrl/client.h>

namespace cadrels {
namespace {

std::uint64_t Ticks(const FILETIME& time)
{
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace

std::optional<FileStat> ShellFileFacts::Stat(const std::wstring& path)
{
    ++attributeReads_;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        return std::nullopt;
    }
    FileStat stat;
    stat.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    stat.lastWrite = Ticks(data.ftLastWriteTime);
    stat.directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return stat;
}

ShortcutTarget ShellFileFacts::ReadShortcut(const std::wstring& path)
{
    ++shortcutLoads_;
    ShortcutTarget target;
    if (!linkFile_) {
        Microsoft::WRL::ComPtr<IShellLinkW> link;
        Microsoft::WRL::ComPtr<IPersistFile> file;
        if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link))) ||
            FAILED(link.As(&file))) {
            return target;
        }
        link_ = std::move(link);
        linkFile_ = std::move(file);
    }
    if (FAILED(linkFile_->Load(path.c_str(), 0))) {
        // What a failed load leaves behind is not to be trusted for the next file.
        link_.Reset();
        linkFile_.Reset();
        return target;
    }
    target.loaded = true;
    wchar_t buffer[MAX_PATH] = {};
    // The raw path: environment variables stay as written, and no link
    // tracking searches the disk for a target that moved.
    if (link_->GetPath(buffer, MAX_PATH, nullptr, SLGP_RAWPATH) == S_OK) {
        target.path = buffer;
    }
    return target;
}

bool ShellFileFacts::MatchesPattern(const std::wstring& name, const std::wstring& pattern)
{
    return PathMatchSpecW(name.c_str(), pattern.c_str()) != FALSE;
}

std::uint64_t UtcNow()
{
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return Ticks(now);
}

}  // namespace cadrels
