#include "cadrel/DropEffect.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {

TEST(DropEffect, AnswersWithinWhatTheSourceOffers)
{
    constexpr unsigned Link = 4;
    constexpr unsigned All = DropCopy | DropMove | Link;
    EXPECT_EQ(ChooseDropEffect(true, false, All), DropMove);
    EXPECT_EQ(ChooseDropEffect(true, true, All), DropCopy) << "Ctrl copies";
    EXPECT_EQ(ChooseDropEffect(true, false, DropCopy), DropCopy) << "a copy-only source is never told of a move";
    EXPECT_EQ(ChooseDropEffect(true, true, DropMove), DropMove) << "Ctrl on a move-only source still moves";
    EXPECT_EQ(ChooseDropEffect(true, false, Link), DropNone) << "only a link: nothing to do";
    EXPECT_EQ(ChooseDropEffect(true, false, DropNone), DropNone);
    EXPECT_EQ(ChooseDropEffect(false, false, All), DropNone) << "no files";
}

TEST(DropEffect, AMoveIsAnsweredOnlyWhenEveryFileArrived)
{
    EXPECT_EQ(AnsweredDropEffect(DropMove, 2, 2), DropMove);
    // One of two refused: a source that deletes on "move" must keep it.
    EXPECT_EQ(AnsweredDropEffect(DropMove, 1, 2), DropCopy);
    EXPECT_EQ(AnsweredDropEffect(DropMove, 0, 2), DropNone);
    EXPECT_EQ(AnsweredDropEffect(DropCopy, 1, 2), DropCopy);
    EXPECT_EQ(AnsweredDropEffect(DropCopy, 0, 1), DropNone);
    EXPECT_EQ(AnsweredDropEffect(DropNone, 3, 3), DropNone);
}

}  // namespace
}  // namespace cadrels
