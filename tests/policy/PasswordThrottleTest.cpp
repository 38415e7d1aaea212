// The wait between administrator password guesses, over a clock the test
// moves by hand.
#include "policy/PasswordThrottle.h"

#include <gtest/gtest.h>

#include <vector>

namespace cadrels {
namespace {

TEST(PasswordThrottle, TheDelayDoublesAfterTheThirdWrongAnswer)
{
    PasswordThrottle throttle;
    std::uint64_t now = 50000;
    // The wait each wrong answer leaves before the next one.
    const std::vector<std::uint64_t> waits = {0, 0, 1000, 2000, 4000, 8000, 16000};
    for (size_t i = 0; i < waits.size(); ++i) {
        ASSERT_EQ(throttle.WaitMs(now), 0u) << "answer " << i + 1 << " comes when allowed";
        throttle.Failed(now);
        EXPECT_EQ(throttle.WaitMs(now), waits[i]) << "after wrong answer " << i + 1;
        if (waits[i] > 0) {
            EXPECT_EQ(throttle.WaitMs(now + waits[i] - 1), 1u);
        }
        now += waits[i];
    }
    EXPECT_EQ(throttle.Failures(), waits.size());
}

TEST(PasswordThrottle, TheWaitHasACeilingAndARightAnswerClearsIt)
{
    PasswordThrottle throttle;
    for (int i = 0; i < 200; ++i) {
        throttle.Failed(0);
    }
    EXPECT_EQ(throttle.WaitMs(0), PasswordThrottle::MaxDelayMs);
    EXPECT_EQ(throttle.WaitMs(PasswordThrottle::MaxDelayMs), 0u);
    EXPECT_EQ(throttle.WaitMs(PasswordThrottle::MaxDelayMs * 10), 0u) << "no underflow after the wait";

    throttle.Succeeded();
    EXPECT_EQ(throttle.WaitMs(0), 0u);
    throttle.Failed(0);
    throttle.Failed(0);
    EXPECT_EQ(throttle.WaitMs(0), 0u) << "a right answer starts the count again";
    throttle.Failed(0);
    EXPECT_EQ(throttle.WaitMs(0), 1000u);
}

}  // namespace
}  // namespace cadrels
