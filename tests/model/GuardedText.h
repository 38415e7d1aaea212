// Text placed flush against the end of readable memory, without a terminator:
// a parser that reads one byte past the end faults at once (a guard page on
// Windows, AddressSanitizer on the host build) instead of finding the NUL
// that std::string happens to keep.
#pragma once

#include <cstring>
#include <memory>
#include <string_view>

#ifdef _WIN32
#include <windows.h>
#endif

namespace cadrels::test {

class GuardedText {
public:
    explicit GuardedText(std::string_view text)
    {
#ifdef _WIN32
        SYSTEM_INFO info{};
        GetSystemInfo(&info);
        const size_t page = info.dwPageSize;
        const size_t pages = (text.size() + page - 1) / page + 1;
        base_ = static_cast<char*>(VirtualAlloc(nullptr, pages * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old = 0;
        VirtualProtect(base_ + (pages - 1) * page, page, PAGE_NOACCESS, &old);
        char* start = base_ + (pages - 1) * page - text.size();
#else
        heap_ = std::make_unique<char[]>(text.size() + (text.empty() ? 1 : 0));
        char* start = heap_.get();
#endif
        std::memcpy(start, text.data(), text.size());
        view_ = std::string_view(start, text.size());
    }
    GuardedText(const GuardedText&) = delete;
    GuardedText& operator=(const GuardedText&) = delete;
    ~GuardedText()
    {
#ifdef _WIN32
        VirtualFree(base_, 0, MEM_RELEASE);
#endif
    }

    std::string_view View() const { return view_; }

private:
#ifdef _WIN32
    char* base_ = nullptr;
#else
    std::unique_ptr<char[]> heap_;
#endif
    std::string_view view_;
};

}  // namespace cadrels::test
