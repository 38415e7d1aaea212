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

}  // namespace
}  // namespace cadrels
