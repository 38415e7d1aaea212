#include "model/ContainerFolders.h"

#include "base/UniqueHandle.h"
#include "i18n/TextEncoding.h"
#include "model/AppFolders.h"
#include "model/FileSystemNames.h"
#include "model/FolderMover.h"
#include "model/FolderTree.h"
#include "model/NewId.h"
#include "model/PathText.h"

#include <windows.h>
#include <knownfolders.h>

#include <algorithm>
#include <array>

namespace cadrels {
namespace {

constexpr size_t MaxFolderNameChars = 48;
constexpr int LastNumberedCandidate = 999;
constexpr size_t IdCharsInFallbackName = 8;

constexpr std::array<std::wstring_view, 22> ReservedDeviceNames = {
    L"CON",  L"PRN",  L"AUX",  L"NUL",  L"COM1", L"COM2", L"COM3", L"COM4", L"COM5", L"COM6", L"COM7",
    L"COM8", L"COM9", L"LPT1", L"LPT2", L"LPT3", L"LPT4", L"LPT5", L"LPT6", L"LPT7", L"LPT8", L"LPT9"};

std::wstring WithoutTrailingSeparators(std::wstring path)
{
    while (!path.empty() && IsPathSeparator(path.back())) {
        path.pop_back();
    }
    return path;
}

bool IsReservedDeviceName(const std::wstring& name)
{
    std::wstring stem = name.substr(0, name.find(L'.'));
    for (wchar_t& c : stem) {
        if (c >= L'a' && c <= L'z') {
            c = static_cast<wchar_t>(c - L'a' + L'A');
        }
    }
    return std::find(ReservedDeviceNames.begin(), ReservedDeviceNames.end(), stem) != ReservedDeviceNames.end();
}

bool IsAsciiAlphanumeric(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The root a path lies strictly inside, or empty.
const std::wstring& RootHolding(const std::wstring& path, const ContainerRoots& roots)
{
    static const std::wstring none;
    if (IsStrictlyInside(path, roots.root)) {
        return roots.root;
    }
    return IsStrictlyInside(path, roots.legacy) ? roots.legacy : none;
}

}  // namespace

const ContainerRoots& ProcessContainerRoots()
{
    static ContainerRoots roots;
    if (roots.root.empty()) {
        const std::wstring profile = KnownFolder(FOLDERID_Profile, false);
        if (!profile.empty()) {
            roots.root = ChildPath(profile, L"Cadrels");
        }
    }
    if (roots.legacy.empty()) {
        const std::wstring appData = AppDataFolder();
        if (!appData.empty()) {
            roots.legacy = ChildPath(appData, L"containers");
        }
    }
    return roots;
}

std::wstring ContainerRoot()
{
    return ProcessContainerRoots().root;
}

std::wstring LegacyContainerRoot()
{
    return ProcessContainerRoots().legacy;
}

bool IsStrictlyInside(const std::wstring& path, const std::wstring& rootText)
{
    const std::wstring root = WithoutTrailingSeparators(rootText);
    if (root.empty() || path.size() < root.size() + 2 || !IsPathSeparator(path[root.size()]) ||
        !StartsWithIgnoringAsciiCase(path, root)) {
        return false;
    }
    // Windows resolves "." and ".." and drops trailing dots and spaces before it
    // opens a path, so "root\..\Documents", "root\." or "root\. " name the
    // parent or the root itself, and "root\\" is the root: none of them may
    // ever be renamed or removed as if it were a container.
    bool namesChild = false;
    size_t start = root.size() + 1;
    while (start <= path.size()) {
        size_t end = start;
        while (end < path.size() && !IsPathSeparator(path[end])) {
            ++end;
        }
        const std::wstring_view component(path.data() + start, end - start);
        if (!component.empty()) {
            if (IsOnlyDotsAndSpaces(component) ||
                std::any_of(component.begin(), component.end(), IsForbiddenInName)) {
                return false;
            }
            namesChild = true;
        }
        start = end + 1;
    }
    return namesChild;
}

bool IsInsideContainerRoot(const std::wstring& path, const ContainerRoots& roots)
{
    return IsStrictlyInside(path, roots.root) || IsStrictlyInside(path, roots.legacy);
}

bool HasContainerMarker(const std::wstring& folder)
{
    if (folder.empty()) {
        return false;
    }
    const DWORD attributes = GetFileAttributesW(ChildPath(folder, ContainerMarkerName).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool IsContainer(const std::wstring& path, const ContainerRoots& roots)
{
    return IsInsideContainerRoot(path, roots) && HasContainerMarker(path);
}

void WriteContainerMarker(const std::wstring& folder)
{
    UniqueFile marker(CreateFileW(ChildPath(folder, ContainerMarkerName).c_str(), GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, nullptr));
}

std::wstring ContainerFolderName(const std::wstring& title, const std::string& cadrelId)
{
    std::wstring name = ReplaceForbiddenNameCharacters(title);
    TrimTrailingDotsAndSpaces(name);
    if (name.size() > MaxFolderNameChars) {
        name.resize(MaxFolderNameChars);
        // The cut can end the name on a space or a dot, which Win32 drops
        // when it creates the folder and then cannot open by the kept path.
        TrimTrailingDotsAndSpaces(name);
    }
    // The cut can leave nothing but dots and spaces ("....x" cut before the x),
    // and Windows would turn that name into the parent folder itself.
    if (IsOnlyDotsAndSpaces(name)) {
        name.clear();
    }
    if (IsReservedDeviceName(name)) {
        name.insert(name.begin(), L'_');
    }
    if (name.empty()) {
        std::string idPart;
        for (char c : cadrelId) {
            if (IsAsciiAlphanumeric(c) && idPart.size() < IdCharsInFallbackName) {
                idPart += c;
            }
        }
        name = L"Cadrel-" + (idPart.empty() ? std::wstring(L"x") : Utf8ToWide(idPart));
    }
    return name;
}

std::wstring UniqueContainerPath(const std::wstring& parent, const std::wstring& name,
                                 const std::vector<std::wstring>& reserved)
{
    const auto taken = [&reserved](const std::wstring& candidate) {
        return GetFileAttributesW(candidate.c_str()) != INVALID_FILE_ATTRIBUTES ||
               std::any_of(reserved.begin(), reserved.end(), [&candidate](const std::wstring& other) {
                   return SameFileSystemName(candidate, other);
               });
    };
    const std::wstring base = ChildPath(parent, name);
    if (!taken(base)) {
        return base;
    }
    for (int number = 2; number <= LastNumberedCandidate; ++number) {
        std::wstring candidate = base + L" (" + std::to_wstring(number) + L")";
        if (!taken(candidate)) {
            return candidate;
        }
    }
    return base + L"_" + Utf8ToWide(NewId());
}

std::wstring CreateContainer(const std::wstring& title, const std::string& cadrelId, const ContainerRoots& roots)
{
    if (!CreateFolderTree(roots.root)) {
        return {};
    }
    const std::wstring path = UniqueContainerPath(roots.root, ContainerFolderName(title, cadrelId), {});
    if (!IsStrictlyInside(path, roots.root) || !CreateFolderTree(path)) {
        return {};
    }
    WriteContainerMarker(path);
    return path;
}

bool EnsureContainer(const std::wstring& path, const ContainerRoots& roots)
{
    if (path.empty() || !IsInsideContainerRoot(path, roots)) {
        return false;
    }
    const bool existed = IsDirectory(path);
    const bool hadMarker = existed && HasContainerMarker(path);
    if (!CreateFolderTree(path)) {
        return false;
    }
    if (!existed || hadMarker) {
        WriteContainerMarker(path);
    }
    return true;
}

std::wstring RenameContainerForTitle(const std::wstring& path, const std::wstring& newTitle,
                                     const std::string& cadrelId, const ContainerRoots& roots)
{
    if (path.empty() || !IsContainer(path, roots) || !IsDirectory(path)) {
        return path;
    }
    const std::wstring& root = RootHolding(path, roots);
    // Split at the last separator of either kind: "root\A/B" has the leaf B,
    // and splitting at the last backslash alone would move the folder out of
    // the root.
    const std::wstring trimmed = WithoutTrailingSeparators(path);
    const size_t split = trimmed.find_last_of(L"\\/");
    if (split == std::wstring::npos) {
        return path;
    }
    const std::wstring parent = trimmed.substr(0, split);
    const std::wstring leaf = trimmed.substr(split + 1);
    const std::wstring newName = ContainerFolderName(newTitle, cadrelId);
    if (SameFileSystemName(newName, leaf)) {
        return path;
    }
    const std::wstring target = UniqueContainerPath(parent, newName, {});
    if (!IsStrictlyInside(target, root) || !MoveFolderThroughMover(trimmed, target)) {
        return path;
    }
    return target;
}

bool RemoveEmptyContainer(const std::wstring& path, const ContainerRoots& roots)
{
    if (!IsContainer(path, roots)) {
        return false;
    }
    WIN32_FIND_DATAW entry{};
    UniqueFind find(FindFirstFileW(ChildPath(path, L"*").c_str(), &entry));
    if (!find) {
        return false;
    }
    do {
        const std::wstring_view name = entry.cFileName;
        if (name != L"." && name != L".." && !EqualsIgnoringAsciiCase(name, ContainerMarkerName)) {
            return false;
        }
    } while (FindNextFileW(find.Get(), &entry));
    // A listing cut short by an error proves nothing about the rest.
    if (GetLastError() != ERROR_NO_MORE_FILES) {
        return false;
    }
    find.Reset();

    const std::wstring marker = ChildPath(path, ContainerMarkerName);
    SetFileAttributesW(marker.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!DeleteFileW(marker.c_str())) {
        WriteContainerMarker(path);
        return false;
    }
    if (RemoveDirectoryW(path.c_str())) {
        return true;
    }
    // Something arrived since the listing, or the folder is in use: it stays,
    // and it stays a container.
    WriteContainerMarker(path);
    return false;
}

}  // namespace cadrels
