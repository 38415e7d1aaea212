#include "model/AtomicFile.h"

#include "model/PathText.h"
#include "model/FolderTree.h"

#include "base/UniqueHandle.h"

namespace cadrels {
namespace {

constexpr int ReplaceAttempts = 5;
constexpr DWORD ReplaceRetryDelayMs = 40;

ReplaceFileFunction replaceFile = ReplaceFileW;

bool MoveIntoPlace(const std::wstring& tmp, const std::wstring& path)
{
    return MoveFileExW(tmp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

}  // namespace

void SetReplaceFileFunctionForTesting(ReplaceFileFunction function)
{
    replaceFile = function ? function : ReplaceFileW;
}

bool ReadFileBytes(const std::wstring& path, size_t maxBytes, std::string& bytes)
{
    if (IsDevicePath(path)) {
        return false;
    }
    // Identification only: a file served by someone else's machine or pipe
    // learns who asks, and cannot act as this user.
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION, nullptr));
    if (!file || GetFileType(file.Get()) != FILE_TYPE_DISK) {
        return false;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart < 1 ||
        static_cast<ULONGLONG>(size.QuadPart) > maxBytes) {
        return false;
    }
    std::string content(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!ReadFile(file.Get(), content.data(), static_cast<DWORD>(content.size()), &read, nullptr) ||
        read != content.size()) {
        return false;
    }
    bytes = std::move(content);
    return true;
}

bool ReadWholeFile(const std::wstring& path, std::string& bytes)
{
    std::string content;
    if (!ReadFileBytes(path, MaxReadableFileBytes, content)) {
        return false;
    }
    if (content.size() > 2 && content.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        content.erase(0, 3);
    }
    bytes = std::move(content);
    return true;
}

bool WriteFileAtomically(const std::wstring& path, std::string_view bytes)
{
    const std::wstring tmp = path + L".tmp";
    const std::wstring bak = path + L".bak";
    {
        UniqueFile file(CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                    nullptr));
        if (!file) {
            return false;
        }
        DWORD written = 0;
        const bool complete =
            (bytes.empty() || WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                                        nullptr)) &&
            written == bytes.size();
        // The data must be on disk before the rename makes it the real file,
        // or a power cut could leave a renamed but empty layout.
        if (!complete || !FlushFileBuffers(file.Get())) {
            file.Reset();
            DeleteFileW(tmp.c_str());
            return false;
        }
    }

    if (!Exists(path)) {
        if (MoveIntoPlace(tmp, path)) {
            return true;
        }
        DeleteFileW(tmp.c_str());
        return false;
    }

    for (int attempt = 0; attempt < ReplaceAttempts; ++attempt) {
        if (replaceFile(path.c_str(), tmp.c_str(), bak.c_str(),
                        REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr, nullptr)) {
            return true;
        }
        // ReplaceFileW can fail after it already moved the old file to .bak
        // (ERROR_UNABLE_TO_MOVE_REPLACEMENT_2). The .tmp file is then the only
        // copy of the new content: put it in place instead of deleting it.
        if (!Exists(path)) {
            if (MoveIntoPlace(tmp, path)) {
                return true;
            }
            break;
        }
        Sleep(ReplaceRetryDelayMs);
    }
    if (Exists(path)) {
        DeleteFileW(tmp.c_str());
    }
    return false;
}

}  // namespace cadrels
