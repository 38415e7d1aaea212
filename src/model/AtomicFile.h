// Whole-file reading and crash-safe replacement: every file the program
// writes goes through WriteFileAtomically.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace cadrels {

inline constexpr size_t MaxReadableFileBytes = 64u * 1024u * 1024u;

// The whole file, 1 byte to `maxBytes`, read in one call with read sharing.
bool ReadFileBytes(const std::wstring& path, size_t maxBytes, std::string& bytes);

// 1 byte to 64 MiB, read in one call; a UTF-8 byte-order mark is removed.
bool ReadWholeFile(const std::wstring& path, std::string& bytes);

// Writes `path`.tmp, flushes it, then replaces `path` keeping the previous
// content as `path`.bak (or moves the file in place on the first write).
bool WriteFileAtomically(const std::wstring& path, std::string_view bytes);

// Tests replace ReplaceFileW to reproduce its rare failures.
using ReplaceFileFunction = BOOL(WINAPI*)(LPCWSTR, LPCWSTR, LPCWSTR, DWORD, LPVOID, LPVOID);
void SetReplaceFileFunctionForTesting(ReplaceFileFunction function);

}  // namespace cadrels
