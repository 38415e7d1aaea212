// Reads this process's own DebugLog lines. OutputDebugString raises a
// debug-print exception that a vectored handler sees before the system
// handles it, so no debugger is needed.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace cadrels::testing {

class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    // Lines written since construction or the last Clear, without "[Cadrels] "
    // and the line feed.
    std::vector<std::wstring> Lines() const;
    // Lines containing the fragment.
    std::vector<std::wstring> Matching(std::wstring_view fragment) const;
    size_t Count(std::wstring_view fragment) const { return Matching(fragment).size(); }
    void Clear();

private:
    PVOID handler_ = nullptr;
};

}  // namespace cadrels::testing
