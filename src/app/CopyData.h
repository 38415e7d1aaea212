// WM_COPYDATA forwarding between a second instance and the running one.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace cadrels {

inline constexpr ULONG_PTR CopyDataSendToList = 0x43444C01;
inline constexpr ULONG_PTR CopyDataSendToPath = 0x43444C02;
inline constexpr DWORD CopyDataMinBytes = 2;
inline constexpr DWORD CopyDataMaxBytes = 65536;

struct ForwardedPath {
    ULONG_PTR kind;     // CopyDataSendToList or CopyDataSendToPath
    std::wstring path;
};

// The bytes a sender puts in lpData: the path in UTF-16 with its terminator.
std::wstring CopyDataPayload(const std::wstring& path);

// Accepts only the two kinds, non-null data and 2..65536 bytes; the text is
// cbData / 2 characters with one trailing zero removed.
std::optional<ForwardedPath> ReadCopyData(const COPYDATASTRUCT* data);

}  // namespace cadrels
