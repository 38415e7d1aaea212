#include "cadrel/CadrelHitMap.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {

CadrelView View(int direction, unsigned dpi)
{
    CadrelView view;
    view.width = 400 * static_cast<int>(dpi) / 96;
    view.height = 600 * static_cast<int>(dpi) / 96;
    view.direction = direction;
    view.viewMode = ViewIconGrid;
    view.dpi = dpi;
    return view;
}

int Centre(float from, float to)
{
    return static_cast<int>((from + to) / 2);
}

// The pointer handling asks where a point is and the drawing where a thing
// is: in every direction and at every scale the two answers agree.
TEST(CadrelHitMap, WhatIsDrawnSomewhereIsFoundThere)
{
    for (const int direction : {UnfoldDown, UnfoldUp, UnfoldLeft, UnfoldRight}) {
        for (const unsigned dpi : {96u, 144u}) {
            const CadrelHitMap map(View(direction, dpi), 3, 12, 0.0f);
            SCOPED_TRACE(testing::Message() << "direction " << direction << ", dpi " << dpi);
            for (int tab = 0; tab < 3; ++tab) {
                const LayoutRect rect = map.TabRect(tab);
                const int x = Centre(rect.left, rect.right);
                const int y = Centre(rect.top, rect.bottom);
                EXPECT_TRUE(map.IsOnTitleBar(x, y)) << "tab " << tab;
                EXPECT_EQ(map.TabAt(x, y), tab);
                EXPECT_EQ(map.ItemAt(x, y), -1) << "the bar holds no item";
            }
            const LayoutRect content = map.ContentRect();
            for (int item = 0; item < 12; ++item) {
                const LayoutRect rect = map.ItemRect(item);
                const int x = Centre(rect.left, rect.right);
                const int y = Centre(rect.top, rect.bottom);
                if (y >= content.bottom) {
                    continue;  // scrolled out of view
                }
                EXPECT_EQ(map.ItemAt(x, y), item);
                EXPECT_FALSE(map.IsOnTitleBar(x, y)) << "item " << item;
                EXPECT_FALSE(map.IsOnFooter(y)) << "item " << item;
            }
        }
    }
}

TEST(CadrelHitMap, ScrollingMovesTheItemsAndStopsAtTheLastRow)
{
    const CadrelView view = View(UnfoldDown, 96);
    const CadrelHitMap few(view, 1, 4, 0.0f);
    EXPECT_EQ(few.MaxScroll(), 0.0f) << "four items fit";
    const CadrelHitMap many(view, 1, 200, 0.0f);
    ASSERT_GT(many.MaxScroll(), 0.0f);
    const CadrelHitMap scrolled(view, 1, 200, 40.0f);
    EXPECT_FLOAT_EQ(scrolled.ItemRect(0).top, many.ItemRect(0).top - 40.0f);
    const LayoutRect last = CadrelHitMap(view, 1, 200, many.MaxScroll()).ItemRect(199);
    EXPECT_LE(last.bottom, many.ContentRect().bottom + 0.5f) << "the last row is reachable";
}

}  // namespace
}  // namespace cadrels
