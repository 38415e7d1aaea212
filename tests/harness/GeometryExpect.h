// Geometry saved from live windows is made of whole pixels: compare it with
// the fractions a test wrote to within one pixel of the monitor's work area.
#pragma once

#include "model/MonitorInfo.h"
#include "model/Records.h"

#include <gtest/gtest.h>

namespace cadrels::testing {

inline void ExpectGeometryWithinAPixel(const CadrelGeom& actual, const CadrelGeom& expected,
                                       const MonitorInfo& monitor)
{
    const RECT& work = monitor.workArea;
    const double onePixelX = 1.0 / (work.right - work.left);
    const double onePixelY = 1.0 / (work.bottom - work.top);
    EXPECT_EQ(actual.monitor, expected.monitor);
    EXPECT_NEAR(actual.x, expected.x, onePixelX);
    EXPECT_NEAR(actual.y, expected.y, onePixelY);
    EXPECT_NEAR(actual.w, expected.w, onePixelX);
    EXPECT_NEAR(actual.h, expected.h, onePixelY);
}

}  // namespace cadrels::testing
