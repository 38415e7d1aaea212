#include "TestFiles.h"

#include "base/UniqueHandle.h"

#include <aclapi.h>
#include <objbase.h>
#include <sddl.h>
#include <shlobj.h>

#include <atomic>

namespace cadrels::testing {

std::wstring KnownFolderPath(REFKNOWNFOLDERID id)
{
    PWSTR raw = nullptr;
    std::wstring path;
    if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_CREATE, nullptr, &raw))) {
        path = raw;
    }
    CoTaskMemFree(raw);
    return path;
}

std::wstring AppDataFolder()
{
    return KnownFolderPath(FOLDERID_LocalAppData) + L"\\Cadrels";
}

std::wstring ContainerRootFolder()
{
    return KnownFolderPath(FOLDERID_Profile) + L"\\Cadrels";
}

std::wstring MakeTempFolder(std::wstring_view prefix)
{
    static std::atomic<unsigned> counter{0};
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    for (;;) {
        std::wstring path = temp;
        path += prefix;
        path += L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(counter++);
        if (CreateDirectoryW(path.c_str(), nullptr)) {
            return path;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            return {};
        }
    }
}

bool WriteBytes(const std::wstring& path, std::string_view bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const BOOL ok = bytes.empty() || WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

std::string ReadBytes(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::string bytes;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        if (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
            read = 0;
        }
        bytes.resize(read);
    }
    CloseHandle(file);
    return bytes;
}

bool FileExists(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FolderExists(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool RemoveTree(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return true;
    }
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return DeleteFileW(path.c_str()) != FALSE;
    }
    // A junction or a directory link is removed itself; what it points to is
    // not ours to delete (it may be outside the prefix).
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        return RemoveDirectoryW(path.c_str()) != FALSE;
    }
    WIN32_FIND_DATAW data{};
    HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name != L"." && name != L"..") {
                RemoveTree(path + L"\\" + name);
            }
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    return RemoveDirectoryW(path.c_str()) != FALSE;
}

void EmptyHostTrash(const std::wstring& name)
{
    wchar_t home[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"HOME", home, MAX_PATH) == 0 || home[0] != L'/') {
        return;
    }
    const std::wstring trash = std::wstring(L"Z:") + home + L"/.local/share/Trash";
    for (const wchar_t* sub : {L"/files/", L"/info/"}) {
        const std::wstring folder = trash + sub;
        WIN32_FIND_DATAW entry{};
        const UniqueFind find(FindFirstFileW((folder + name + L"*").c_str(), &entry));
        if (!find) {
            continue;
        }
        do {
            RemoveTree(folder + entry.cFileName);
            DeleteFileW((folder + entry.cFileName).c_str());
        } while (FindNextFileW(find.Get(), &entry));
    }
}

bool MakeWritableByEveryone(const std::wstring& path)
{
    PSECURITY_DESCRIPTOR raw = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;FA;;;SY)(A;;FA;;;WD)", SDDL_REVISION_1, &raw,
                                                              nullptr)) {
        return false;
    }
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL acl = nullptr;
    const bool ok = GetSecurityDescriptorDacl(raw, &present, &acl, &defaulted) &&
                    SetNamedSecurityInfoW(const_cast<wchar_t*>(path.c_str()), SE_FILE_OBJECT,
                                          DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr,
                                          nullptr, acl, nullptr) == ERROR_SUCCESS;
    LocalFree(raw);
    return ok;
}

std::string JsonPathText(const std::wstring& path)
{
    std::string out;
    for (wchar_t c : path) {
        if (c == L'\\') {
            out += "\\\\";
        } else {
            out.push_back(static_cast<char>(c));
        }
    }
    return out;
}

std::string Bitmap24(int side, const std::function<COLORREF(int index)>& pixel)
{
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(side * side * 3);
    info.biSize = sizeof info;
    info.biWidth = side;
    info.biHeight = side;
    info.biPlanes = 1;
    info.biBitCount = 24;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    for (int i = 0; i < side * side; ++i) {
        const COLORREF colour = pixel(i);
        bytes += static_cast<char>(GetBValue(colour));
        bytes += static_cast<char>(GetGValue(colour));
        bytes += static_cast<char>(GetRValue(colour));
    }
    return bytes;
}

}  // namespace cadrels::testing
