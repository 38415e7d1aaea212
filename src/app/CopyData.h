// WM_COPYDATA forwarding between a second instance and the running one.
#pragma once

#include "app/CommandLine.h"

#include <windows.h>

#include <optional>
#include <string>

namespace cadrels {

inline constexpr ULONG_PTR CopyDataSendToList = 0x43444C01;
inline constexpr ULONG_PTR CopyDataSendToPath = 0x43444C02;
// A page or snapshot operation (PageRequest.h), from a test or a tool.
inline constexpr ULONG_PTR CopyDataPageRequest = 0x43444C10;
// A hosting operation (HostRequest.h), from a test or a tool.
inline constexpr ULONG_PTR CopyDataHostRequest = 0x43444C11;
inline constexpr DWORD CopyDataMinBytes = 2;
inline constexpr DWORD CopyDataMaxBytes = 65536;

struct ForwardedPath {
    ULONG_PTR kind;     // CopyDataSendToList, CopyDataSendToPath or CopyDataPageRequest
    std::wstring path;  // for a page request, the request's text
};

// The bytes a sender puts in lpData: the path in UTF-16 with its terminator.
std::wstring CopyDataPayload(const std::wstring& path);

// What a second start sends the running instance: WM_COPYDATA with the list
// file (which wins) or the single path and its terminator; else the one
// window message ForwardedWindowMessage gives (0: nothing to send).
struct Forwarding {
    UINT message = 0;
    ULONG_PTR copyDataKind = 0;  // WM_COPYDATA only
    std::wstring payload;        // WM_COPYDATA only, as CopyDataPayload makes it
};
Forwarding ForwardingFor(const CommandLineOptions& options);

// Accepts only the four kinds, non-null data and 2..65536 bytes; the text is
// cbData / 2 characters with one trailing zero removed.
std::optional<ForwardedPath> ReadCopyData(const COPYDATASTRUCT* data);

}  // namespace cadrels
