// How often the main thread is woken: every message our window procedures
// see (sent or posted), and every message the program's message loops take
// from the queue (posted ones, also those for native controls such as a
// prompt's buttons), timers among them. An idle program sees none; the idle
// benchmark and the tests read the counts through the application window.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

namespace cadrels {

struct ActivityCounts {
    std::uint64_t messages = 0;   // entries into our window procedures
    std::uint64_t retrieved = 0;  // messages our loops took from the queue
    std::uint64_t timers = 0;     // WM_TIMER among those retrieved
};

namespace detail {
inline std::atomic<std::uint64_t> messagesSeen{0};
inline std::atomic<std::uint64_t> messagesRetrieved{0};
inline std::atomic<std::uint64_t> timersRetrieved{0};
}  // namespace detail

inline void NoteWindowMessage(UINT)
{
    detail::messagesSeen.fetch_add(1, std::memory_order_relaxed);
}

// Called by every message loop of the program for each message it takes.
inline void NoteRetrievedMessage(UINT message)
{
    detail::messagesRetrieved.fetch_add(1, std::memory_order_relaxed);
    if (message == WM_TIMER) {
        detail::timersRetrieved.fetch_add(1, std::memory_order_relaxed);
    }
}

inline ActivityCounts CurrentActivity()
{
    return {detail::messagesSeen.load(std::memory_order_relaxed),
            detail::messagesRetrieved.load(std::memory_order_relaxed),
            detail::timersRetrieved.load(std::memory_order_relaxed)};
}

// The registered message that makes the application window log its counts
// ("Activite : N messages, R retires, M minuteries").
inline constexpr wchar_t ReportActivityMessageName[] = L"Cadrels.ReportActivity";

}  // namespace cadrels
