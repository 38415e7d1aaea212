// Slowing down guesses of the administrator password: the first wrong
// answers cost nothing, then every further one doubles the wait before the
// next answer is checked. A value over a clock the caller passes in (in
// milliseconds), so it is tested without waiting.
#pragma once

#include <cstdint>

namespace cadrels {

class PasswordThrottle {
public:
    static constexpr unsigned FreeFailures = 2;
    static constexpr std::uint64_t FirstDelayMs = 1000;
    static constexpr std::uint64_t MaxDelayMs = 5 * 60 * 1000;

    // How long until an answer may be checked; 0 when it may be now.
    std::uint64_t WaitMs(std::uint64_t nowMs) const { return nowMs >= notBeforeMs_ ? 0 : notBeforeMs_ - nowMs; }

    // A wrong answer checked at `nowMs`: from the third on, the next answer
    // waits 1 s, then 2 s, 4 s ... up to MaxDelayMs.
    void Failed(std::uint64_t nowMs);
    void Succeeded();

    unsigned Failures() const { return failures_; }

private:
    unsigned failures_ = 0;
    std::uint64_t notBeforeMs_ = 0;
};

}  // namespace cadrels
