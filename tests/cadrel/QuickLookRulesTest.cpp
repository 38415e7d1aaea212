#include "cadrel/QuickLookRules.h"

#include <gtest/gtest.h>

#include <string>

namespace cadrels {
namespace {

TEST(QuickLookRules, ViewChosenByExtension)
{
    struct Case {
        const wchar_t* extension;
        PreviewKind kind;
    };
    const Case cases[] = {
        {L"jpg", PreviewKind::Picture},  {L".JPEG", PreviewKind::Picture}, {L"Png", PreviewKind::Picture},
        {L"dib", PreviewKind::Picture},  {L"jfif", PreviewKind::Picture},  {L"txt", PreviewKind::Text},
        {L".MD", PreviewKind::Text},     {L"json", PreviewKind::Text},     {L"r", PreviewKind::Text},
        {L"vb", PreviewKind::Text},      {L"ps1", PreviewKind::Text},      {L"svg", PreviewKind::Details},
        {L"docx", PreviewKind::Details}, {L"", PreviewKind::Details},      {L"jp", PreviewKind::Details},
        {L"txt2", PreviewKind::Details}, {L"lnk", PreviewKind::Details},   {L"JPGX", PreviewKind::Details},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PreviewKindForExtension(c.extension), c.kind) << c.extension;
    }
}

TEST(QuickLookRules, TextDecodedFromFirstBytes)
{
    struct Case {
        const char* name;
        std::string bytes;
        std::wstring text;
    };
    const Case cases[] = {
        {"plain ascii", "bonjour\r\n", L"bonjour\r\n"},
        {"utf-8 with bom", "\xEF\xBB\xBF" "caf\xC3\xA9", L"caf\u00E9"},
        {"utf-8 without bom", "\xC3\xA9t\xC3\xA9", L"\u00E9t\u00E9"},
        {"utf-16 with bom", std::string("\xFF\xFEh\0i\0", 6), L"hi"},
        {"utf-16 odd last byte", std::string("\xFF\xFEh\0i\0!", 7), L"hi"},
        {"utf-16 cut after a high surrogate", std::string("\xFF\xFEh\0\x3D\xD8", 6), L"h"},
        {"utf-16 pair kept", std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6), L"\xD83D\xDE00"},
        {"zero byte is not text", std::string("ab\0cd", 5), L""},
        {"two-byte char cut", "ab\xC3", L"ab"},
        {"three-byte char cut after one", "ab\xE2\x82", L"ab"},
        {"four-byte char cut after three", "ab\xF0\x9F\x98", L"ab"},
        {"four-byte char whole", "a\xF0\x9F\x98\x80", L"a\xD83D\xDE00"},
        {"stray continuation refused", "a\x80" "b", L""},
        {"overlong refused", "\xC0\xAF", L""},
        {"lone continuation at end refused", "ab\x80", L""},
        {"invalid lead at end refused", "ab\xFF", L""},
        {"encoded surrogate refused", "\xED\xA0\x80", L""},
        {"bom only", "\xEF\xBB\xBF", L""},
        {"empty", "", L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecodeTextPreview(c.bytes), c.text) << c.name;
    }
}

TEST(QuickLookRules, MultiByteCharacterCutAtTheReadLimitKeepsTheText)
{
    // 8191 ASCII bytes then a two-byte character: its first byte is the last
    // one read.
    std::string bytes(TextPreviewBytes - 1, 'x');
    bytes += "\xC3\xA9 and more";
    const std::wstring text = DecodeTextPreview(bytes);
    EXPECT_EQ(text, std::wstring(TextPreviewBytes - 1, L'x'));

    // A zero byte after the limit is never read.
    std::string longer(TextPreviewBytes, 'y');
    longer.push_back('\0');
    EXPECT_EQ(DecodeTextPreview(longer).size(), TextPreviewBytes);

    // A zero byte just inside the limit makes it binary.
    std::string binary(TextPreviewBytes - 1, 'y');
    binary.push_back('\0');
    EXPECT_TRUE(DecodeTextPreview(binary).empty());
}

TEST(QuickLookRules, WindowSizedFromWorkAreaAndCentred)
{
    struct Case {
        int left, top, right, bottom;
        unsigned dpi;
        int x, y, width, height;
    };
    const Case cases[] = {
        {0, 0, 1920, 1040, 96, 269, 104, 1382, 832},
        {0, 0, 1280, 800, 0, 179, 80, 921, 640},
        {0, 0, 600, 400, 96, 60, 20, 480, 360},       // the minimum wins on a small screen
        {0, 0, 600, 400, 192, -180, -160, 960, 720},  // and scales with the DPI
        {1920, 0, 3840, 1040, 96, 2189, 104, 1382, 832},
    };
    for (const Case& c : cases) {
        const PreviewWindowPlacement p = PlacePreviewWindow(c.left, c.top, c.right, c.bottom, c.dpi);
        EXPECT_EQ(p.x, c.x) << c.right << "x" << c.bottom << " @" << c.dpi;
        EXPECT_EQ(p.y, c.y) << c.right << "x" << c.bottom << " @" << c.dpi;
        EXPECT_EQ(p.width, c.width) << c.right << "x" << c.bottom << " @" << c.dpi;
        EXPECT_EQ(p.height, c.height) << c.right << "x" << c.bottom << " @" << c.dpi;
    }
}

TEST(QuickLookRules, LayoutRowsDoNotOverlap)
{
    for (unsigned dpi : {96u, 144u, 192u}) {
        const float s = dpi / 96.0f;
        const PreviewLayout layout = LayOutPreview(1000, 700, dpi);
        EXPECT_FLOAT_EQ(layout.header.left, 18 * s);
        EXPECT_FLOAT_EQ(layout.header.top, 7.2f * s);
        EXPECT_FLOAT_EQ(layout.header.bottom, layout.content.top);
        EXPECT_FLOAT_EQ(layout.content.right, 1000 - 18 * s);
        EXPECT_FLOAT_EQ(layout.content.bottom, 700 - 26 * s - 7.2f * s);
        EXPECT_LT(layout.content.bottom, layout.hint.top);
        EXPECT_FLOAT_EQ(layout.hint.top, 700 - 26 * s);
        EXPECT_FLOAT_EQ(layout.hint.bottom, 700 - 5.4f * s);
    }
}

TEST(QuickLookRules, PictureLetterBoxedOrEnlarged)
{
    const PreviewRect box{10, 20, 810, 420};  // 800 x 400
    struct Case {
        int width, height;
        PreviewRect drawn;
    };
    const Case cases[] = {
        {4000, 3000, {143.333f, 20, 676.667f, 420}},  // letter-boxed left and right
        {1600, 400, {10, 120, 810, 320}},             // letter-boxed above and below
        {16, 16, {210, 20, 610, 420}},                // an icon is enlarged to the box height
        {800, 400, {10, 20, 810, 420}},
    };
    for (const Case& c : cases) {
        const PreviewRect r = FitPictureInBox(box, c.width, c.height);
        EXPECT_NEAR(r.left, c.drawn.left, 0.01f) << c.width << "x" << c.height;
        EXPECT_NEAR(r.top, c.drawn.top, 0.01f) << c.width << "x" << c.height;
        EXPECT_NEAR(r.right, c.drawn.right, 0.01f) << c.width << "x" << c.height;
        EXPECT_NEAR(r.bottom, c.drawn.bottom, 0.01f) << c.width << "x" << c.height;
    }
    const PreviewRect none = FitPictureInBox(box, 0, 10);
    EXPECT_EQ(none.right - none.left, 0.0f);
}

TEST(QuickLookRules, DecodedNeverLargerThanTheWindow)
{
    struct Case {
        int width, height, maxSide;
        int decodedWidth, decodedHeight, reduction;
    };
    const Case cases[] = {
        {4000, 3000, 1382, 1382, 1036, 2},  // 2000x1500 covers 1382x1036, 1000x750 does not
        {4000, 3000, 480, 480, 360, 8},
        {4000, 3000, 4000, 4000, 3000, 1},
        {16, 16, 1382, 16, 16, 1},
        {3000, 4000, 832, 624, 832, 4},
        {10000, 1, 100, 100, 1, 8},         // a side never drops to 0
        {640, 480, 0, 640, 480, 1},
    };
    for (const Case& c : cases) {
        const DecodeSize size = PreviewDecodeSize(c.width, c.height, c.maxSide);
        EXPECT_EQ(size.width, c.decodedWidth) << c.width << "x" << c.height << " in " << c.maxSide;
        EXPECT_EQ(size.height, c.decodedHeight) << c.width << "x" << c.height << " in " << c.maxSide;
        EXPECT_LE(std::max(size.width, size.height), c.maxSide > 0 ? std::max(c.maxSide, 1) : c.width);
        EXPECT_EQ(DecoderReductionFor(c.width, c.height, size), c.reduction)
            << c.width << "x" << c.height << " in " << c.maxSide;
    }
}

TEST(QuickLookRules, SteppingClampsWithoutWrapping)
{
    struct Case {
        int current, delta, count, expected;
    };
    const Case cases[] = {
        {3, 1, 8, 4}, {3, -1, 8, 2}, {0, -1, 8, 0}, {7, 1, 8, 7},  {7, -100, 8, 0},
        {0, 100, 8, 7}, {0, 1, 1, 0}, {2, 0, 5, 2}, {0, 1, 0, -1}, {9, 0, 5, 4},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SteppedIndex(c.current, c.delta, c.count), c.expected)
            << c.current << "+" << c.delta << " of " << c.count;
    }
}

} // namespace
} // namespace cadrels
