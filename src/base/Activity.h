// How often the program's windows are woken: every message our window
// procedures see, timers apart. An idle program sees none; the idle benchmark
// and the tests read the counts through the application window.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

namespace cadrels {

struct ActivityCounts {
    std::uint64_t messages = 0;
    std::uint64_t timers = 0;
};

namespace detail {
inline std::atomic<std::uint64_t> messagesSeen{0};
inline std::atomic<std::uint64_t> timersSeen{0};
}  // namespace detail

inline void NoteWindowMessage(UINT message)
{
    detail::messagesSeen.fetch_add(1, std::memory_order_relaxed);
    if (message == WM_TIMER) {
        detail::timersSeen.fetch_add(1, std::memory_order_relaxed);
    }
}

inline ActivityCounts CurrentActivity()
{
    return {detail::messagesSeen.load(std::memory_order_relaxed), detail::timersSeen.load(std::memory_order_relaxed)};
}

// The registered message that makes the application window log its counts
// ("Activite : N messages, M minuteries").
inline constexpr wchar_t ReportActivityMessageName[] = L"Cadrels.ReportActivity";

}  // namespace cadrels
