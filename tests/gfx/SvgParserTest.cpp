#include "gfx/VectorIcon.h"

#include <gtest/gtest.h>

#include <string>

namespace cadrels {
namespace {

std::string Describe(const PathData& data)
{
    std::string text;
    for (const PathSegment& s : data.segments) {
        const auto point = [&](int i) {
            char buffer[48];
            std::snprintf(buffer, sizeof buffer, "%g,%g", s.points[i].x, s.points[i].y);
            return std::string(buffer);
        };
        switch (s.kind) {
        case SegmentKind::Move: text += "M" + point(0) + " "; break;
        case SegmentKind::Line: text += "L" + point(0) + " "; break;
        case SegmentKind::Cubic: text += "C" + point(0) + " " + point(1) + " " + point(2) + " "; break;
        case SegmentKind::Quadratic: text += "Q" + point(0) + " " + point(1) + " "; break;
        case SegmentKind::Close: text += "Z "; break;
        }
    }
    if (!data.complete) {
        text += "!";
    }
    return text;
}

TEST(PathData, MakesEverySegmentAbsolute)
{
    struct Case {
        const char* data;
        const char* expected;
    };
    const Case cases[] = {
        {"M10 10 L20 10 H30 V40 Z", "M10,10 L20,10 L30,10 L30,40 Z "},
        {"m10 10 l10 0 h5 v5 z", "M10,10 L20,10 L25,10 L25,15 Z "},
        // Implicit repetition: after M the pairs are lines.
        {"M0 0 10 0 10 10", "M0,0 L10,0 L10,10 "},
        {"m5 5 10 0", "M5,5 L15,5 "},
        // Packed numbers: signs and second dots start new numbers.
        {"M1-2L.5.5", "M1,-2 L0.5,0.5 "},
        {"M1e1,2E0 L+3,4", "M10,2 L3,4 "},
        // S reflects the previous cubic control point, T the quadratic one.
        {"M0 0C0 10 10 10 10 0S20 -10 20 0", "M0,0 C0,10 10,10 10,0 C10,-10 20,-10 20,0 "},
        {"M0 0Q5 10 10 0T20 0", "M0,0 Q5,10 10,0 Q15,-10 20,0 "},
        // Without a previous curve of its family S starts at the current point.
        {"M0 0L10 0S20 10 30 0", "M0,0 L10,0 C10,0 20,10 30,0 "},
        // After Z a relative command starts from the subpath's start.
        {"M10 10L20 10L20 20Zl5 0", "M10,10 L20,10 L20,20 Z L15,10 "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Describe(ParsePathData(c.data)), c.expected) << c.data;
    }
}

TEST(PathData, AnErrorKeepsWhatCameBefore)
{
    struct Case {
        const char* data;
        const char* expected;
    };
    const Case cases[] = {
        {"M0 0L10 0A5 5 0 0 1 20 0", "M0,0 L10,0 !"},  // arcs are outside the profile
        {"M0 0L10", "M0,0 !"},
        {"L10 10", "!"},  // must start with a move
        {"M0 0Z 5 5", "M0,0 Z !"},
        {"M0 0 L nan 1", "M0,0 !"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Describe(ParsePathData(c.data)), c.expected) << c.data;
    }
}

TEST(VectorIconDocument, ReadsTheProfileAndResolvesGradientsLate)
{
    const char* svg =
        "<?xml version=\"1.0\"?><!-- made by hand -->"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 200 100\">"
        "<path d=\"M0 0H100V100H0Z\" fill=\"url(#late)\"/>"
        "<path d=\"M0 0H10V10Z\" fill=\"none\"/>"
        "<g fill=\"#0f0\" fill-rule=\"evenodd\"><path d=\"M1 1H2V2Z\"/><path d=\"M3 3H4V4Z\" fill=\"#123456\"/></g>"
        "<defs><path d=\"M0 0H5V5Z\"/>"
        "<linearGradient id=\"late\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">"
        "<stop offset=\"0\" stop-color=\"#ff0000\"/><stop offset=\"100%\" style=\"stop-color: #0000ff\"/>"
        "</linearGradient></defs>"
        "<path d=\"M0 0H5V5Z\" fill=\"url(#missing)\"/>"
        "<path d=\"M0 0H5V5Z\"/>"
        "</svg>";
    const std::optional<VectorIcon> icon = ParseVectorIcon(svg);
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->viewWidth, 200.0f);
    EXPECT_EQ(icon->viewHeight, 100.0f);
    ASSERT_EQ(icon->shapes.size(), 4u);  // "none", the defs path and the missing reference paint nothing

    const VectorFill& gradient = icon->shapes[0].fill;
    ASSERT_EQ(gradient.kind, VectorFill::Kind::LinearGradient);
    // Bounding-box units: from the top of the path's bounds to its bottom.
    EXPECT_FLOAT_EQ(gradient.start.y, 0.0f);
    EXPECT_FLOAT_EQ(gradient.end.y, 100.0f);
    ASSERT_EQ(gradient.stops.size(), 2u);
    EXPECT_EQ(gradient.stops[0].rgb, 0xff0000u);
    EXPECT_EQ(gradient.stops[1].rgb, 0x0000ffu);
    EXPECT_FLOAT_EQ(gradient.stops[1].offset, 1.0f);

    EXPECT_EQ(icon->shapes[1].fill.rgb, 0x00ff00u);
    EXPECT_TRUE(icon->shapes[1].evenOdd);
    EXPECT_EQ(icon->shapes[2].fill.rgb, 0x123456u);
    EXPECT_TRUE(icon->shapes[2].evenOdd);
    EXPECT_EQ(icon->shapes[3].fill.rgb, 0x000000u);
    EXPECT_FALSE(icon->shapes[3].evenOdd) << "the group's rule ends with the group";
}

TEST(VectorIconDocument, RefusesWhatIsNotAnSvgDocument)
{
    const char* refused[] = {
        "",
        "not markup at all",
        "<html><svg viewBox=\"0 0 10 10\"></svg></html>",
        "<svg viewBox=\"0 0 0 10\"></svg>",
        "<svg viewBox=\"0 0 10 10\"><path d=\"M0 0",
        "<svg viewBox=\"0 0 10 10\"><path d=M0 0/></svg>",
    };
    for (const char* text : refused) {
        EXPECT_FALSE(ParseVectorIcon(text)) << text;
    }
    EXPECT_TRUE(ParseVectorIcon("<svg width=\"24\" height=\"24\"/>"));
}

TEST(VectorIconDocument, ReadsColours)
{
    EXPECT_EQ(ParseColour("#abc"), 0xaabbccu);
    EXPECT_EQ(ParseColour(" #A0B1C2 "), 0xa0b1c2u);
    EXPECT_EQ(ParseColour("rgb(255, 0, 10)"), 0xff000au);
    EXPECT_EQ(ParseColour("white"), 0xffffffu);
    EXPECT_FALSE(ParseColour("#abcd"));
    EXPECT_FALSE(ParseColour("#ggg"));
    EXPECT_FALSE(ParseColour("chartreuse"));
}

}  // namespace
}  // namespace cadrels
