#include "app/ForegroundMoveWatch.h"

#include <gtest/gtest.h>

#include <vector>

namespace cadrels {
namespace {

constexpr std::uintptr_t Editor = 0x1010;
constexpr std::uintptr_t Browser = 0x2020;
constexpr PixelRect Home{100, 100, 500, 400};
constexpr PixelRect Moved{160, 130, 560, 430};

ForegroundSample Up(std::uintptr_t window, PixelRect rect)
{
    return {window, rect, true, false};
}

ForegroundSample Down(std::uintptr_t window, PixelRect rect)
{
    return {window, rect, true, true};
}

// One poll after another, none of them following a move already.
std::vector<ForegroundMove> Polls(ForegroundMoveWatch& watch, const std::vector<ForegroundSample>& samples)
{
    std::vector<ForegroundMove> seen;
    for (const ForegroundSample& sample : samples) {
        seen.push_back(watch.Observe(sample, false));
    }
    return seen;
}

using enum ForegroundMove;

TEST(ForegroundMoveWatch, ALiveDragStartsOnceTheRectangleChangesUnderTheButton)
{
    ForegroundMoveWatch watch;
    EXPECT_EQ(Polls(watch, {Up(Editor, Home), Down(Editor, Home), Down(Editor, Moved)}),
              (std::vector<ForegroundMove>{None, None, Started}));
    // From here the move is followed elsewhere: neither more steps nor the
    // release report anything.
    EXPECT_EQ(watch.Observe(Down(Editor, Home), true), None);
    EXPECT_EQ(watch.Observe(Up(Editor, Home), true), None);
    EXPECT_EQ(watch.Observe(Up(Editor, Moved), false), None) << "the press was spent by the release";
}

TEST(ForegroundMoveWatch, AnOutlineDragEndsAtTheReleaseWhenTheWindowMovedOverThePress)
{
    ForegroundMoveWatch watch;
    EXPECT_EQ(Polls(watch, {Up(Editor, Home), Down(Editor, Home), Down(Editor, Home), Up(Editor, Moved)}),
              (std::vector<ForegroundMove>{None, None, None, Ended}));
}

TEST(ForegroundMoveWatch, ThePressKeepsTheRectangleOfThePollBeforeIt)
{
    // The window had already moved when the first poll saw the button down:
    // the press is measured from where it stood before, so putting it back
    // exactly there is no move.
    ForegroundMoveWatch watch;
    EXPECT_EQ(Polls(watch, {Up(Editor, Home), Down(Editor, Moved)}), (std::vector<ForegroundMove>{None, Started}));
    EXPECT_EQ(watch.Observe(Up(Editor, Home), false), None);

    ForegroundMoveWatch outline;
    EXPECT_EQ(Polls(outline, {Up(Editor, Home), Down(Browser, Moved), Up(Browser, Moved)}),
              (std::vector<ForegroundMove>{None, None, None}))
        << "a window that just came forward is measured from its own rectangle";
    EXPECT_EQ(Polls(outline, {Down(Browser, Moved), Up(Browser, Home)}), (std::vector<ForegroundMove>{None, Ended}));
}

TEST(ForegroundMoveWatch, ClicksAndFocusChangesAreNoMoves)
{
    struct Case {
        const char* what;
        std::vector<ForegroundSample> samples;
    };
    const ForegroundSample own{Editor, Moved, false, true};
    const ForegroundSample ownUp{Editor, Home, false, false};
    const std::vector<Case> cases = {
        {"a click that moves nothing", {Up(Editor, Home), Down(Editor, Home), Up(Editor, Home)}},
        {"released over another window", {Up(Editor, Home), Down(Editor, Home), Up(Browser, Moved)}},
        {"the foreground changed under the button", {Down(Editor, Home), Down(Browser, Moved), Down(Browser, Moved)}},
        {"a window of this process", {ownUp, own, ownUp}},
        {"pressed on another window, released on this process's", {Down(Editor, Home), ownUp}},
        {"no foreground window", {Up(0, {}), {0, {}, false, true}, Up(0, {})}},
    };
    for (const Case& c : cases) {
        ForegroundMoveWatch watch;
        for (size_t i = 0; i < c.samples.size(); ++i) {
            EXPECT_EQ(watch.Observe(c.samples[i], false), None) << c.what << ", poll " << i;
        }
    }
}

TEST(ForegroundMoveWatch, AMoveEndedElsewhereIsNotEndedAgain)
{
    ForegroundMoveWatch watch;
    EXPECT_EQ(Polls(watch, {Up(Editor, Home), Down(Editor, Home)}), (std::vector<ForegroundMove>{None, None}));
    watch.EndPress();
    EXPECT_EQ(watch.Observe(Up(Editor, Moved), false), None);
    EXPECT_EQ(Polls(watch, {Down(Editor, Moved), Up(Editor, Home)}), (std::vector<ForegroundMove>{None, Ended}))
        << "the next press is watched again";
}

TEST(ForegroundMoveWatch, AfterAPauseTheEarlierForegroundTellsNothing)
{
    ForegroundMoveWatch watch;
    EXPECT_EQ(watch.Observe(Up(Editor, Home), false), None);
    watch.ForgetForeground();
    EXPECT_EQ(watch.Observe(Down(Editor, Moved), false), None)
        << "without the poll before, a rectangle seen once is not a change";
    EXPECT_EQ(watch.Observe(Down(Editor, Home), false), Started);
}

}  // namespace
}  // namespace cadrels
