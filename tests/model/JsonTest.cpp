#include "model/JsonValue.h"

#include "GuardedText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace cadrels {
namespace {

JsonValue Parse(std::string_view text)
{
    JsonValue value;
    EXPECT_TRUE(ParseJson(text, value)) << text;
    return value;
}

bool Parses(std::string_view text)
{
    JsonValue value;
    return ParseJson(text, value);
}

std::string ParseString(std::string_view text)
{
    return std::string(Parse(text).StringOr("<not a string>"));
}

TEST(JsonParse, AcceptsAndRejectsByTheGrammar)
{
    struct Case {
        const char* text;
        bool ok;
    };
    const Case cases[] = {
        {"null", true}, {"true", true}, {"false", true}, {" \t\r\n 1 \n", true}, {"\"\"", true},
        {"[]", true}, {"{}", true}, {"[1,2]", true}, {"{\"a\":1,\"b\":[]}", true}, {"[ [ ] , { } ]", true},
        {"", false}, {"   ", false}, {"[1,]", false}, {"{\"a\":1,}", false}, {"[1 2]", false},
        {"{\"a\" 1}", false}, {"{a:1}", false}, {"{\"a\":}", false}, {"[", false}, {"{", false},
        {"\"abc", false}, {"nul", false}, {"True", false}, {"NULL", false}, {"truex", false},
        {"true false", false}, {"[01x]", false}, {"1 2", false}, {"'a'", false}, {"[,1]", false},
        {"\"\\x\"", false}, {"\"\\u12\"", false}, {"\"\\u12G4\"", false}, {"\"\\", false}, {"{\"a\":1}}", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Parses(c.text), c.ok) << c.text;
    }
}

// Every prefix of a document, each ending exactly where readable memory ends:
// a truncated number ("-"), literal, escape or string must fail cleanly
// without looking at the byte after it.
TEST(JsonParse, TruncatedInputIsNeverReadPastItsEnd)
{
    struct Case {
        const char* document;
        bool whole;  // the complete document parses
    };
    const Case cases[] = {
        {"-", false}, {"[-", false}, {"{\"a\":-", false}, {"-1.5e+3", true}, {"[-0, 1e-2, -7]", true},
        {"\"a\\u00e9\\n\"", true}, {"[true,false,null]", true},
        {"{\"k\": [1, {\"x\": \"y\"}], \"n\": -12.5E-3}", true},
    };
    for (const Case& c : cases) {
        const std::string_view document = c.document;
        for (size_t length = 0; length < document.size(); ++length) {
            const test::GuardedText text(document.substr(0, length));
            JsonValue value;
            const bool parsed = ParseJson(text.View(), value);
            // A cut container or string is never complete; a cut number may be.
            if (document[0] == '[' || document[0] == '{' || document[0] == '"') {
                EXPECT_FALSE(parsed) << text.View();
            }
        }
        const test::GuardedText whole(document);
        JsonValue value;
        EXPECT_EQ(ParseJson(whole.View(), value), c.whole) << document;
    }
}

TEST(JsonParse, NumbersFollowStrtodInTheCLocale)
{
    struct Case {
        const char* text;
        bool ok;
        double value;
    };
    const Case cases[] = {
        {"-0", true, -0.0},   {".5", true, 0.5},   {"5.", true, 5.0},      {"1E+2", true, 100.0},
        {"0005", true, 5.0},  {"0.62", true, 0.62}, {"-12.5e-1", true, -1.25}, {"1e-400", true, 0.0},
        {"123456789012345678901234567890", true, 1.2345678901234568e29},
        {"+1", false, 0},     {"-", false, 0},     {".", false, 0},        {"1e999", false, 0},
        {"-1e999", false, 0}, {"--1", false, 0},   {"1.2.3", false, 0},    {"0x10", false, 0},
        {"1e", false, 0},     {"e5", false, 0},    {"Infinity", false, 0}, {"NaN", false, 0},
    };
    for (const Case& c : cases) {
        JsonValue value;
        ASSERT_EQ(ParseJson(c.text, value), c.ok) << c.text;
        if (c.ok) {
            ASSERT_TRUE(value.IsNumber()) << c.text;
            EXPECT_DOUBLE_EQ(value.NumberOr(99), c.value) << c.text;
        }
    }
    EXPECT_TRUE(std::signbit(Parse("-0").NumberOr(1)));
}

TEST(JsonParse, NumbersIgnoreTheProcessLocale)
{
    // A decimal-comma locale must not turn 0.62 into 0 or a failure.
    const char* previous = setlocale(LC_ALL, nullptr);
    const std::string saved = previous ? previous : "C";
    if (setlocale(LC_ALL, "French_France.1252") == nullptr && setlocale(LC_ALL, "fr-FR") == nullptr) {
        GTEST_SKIP() << "no French locale here";
    }
    EXPECT_DOUBLE_EQ(Parse("0.62").NumberOr(0), 0.62);
    EXPECT_DOUBLE_EQ(Parse("1e-400").NumberOr(1), 0.0) << "through the strtod fallback";
    setlocale(LC_ALL, saved.c_str());
}

TEST(JsonParse, NestingIsLimitedTo200Levels)
{
    const std::string deepEmpty = std::string(200, '[') + std::string(200, ']');
    EXPECT_TRUE(Parses(deepEmpty));
    const std::string deepNumber = std::string(200, '[') + "1" + std::string(200, ']');
    EXPECT_FALSE(Parses(deepNumber));
    const std::string tooDeep = std::string(201, '[') + std::string(201, ']');
    EXPECT_FALSE(Parses(tooDeep));
    std::string objects;
    for (int i = 0; i < 199; ++i) {
        objects += "{\"k\":";
    }
    objects += "1" + std::string(199, '}');
    EXPECT_TRUE(Parses(objects));
    EXPECT_FALSE(Parses(std::string(100000, '[')));
}

TEST(JsonParse, ValuesPerDocumentAreCapped)
{
    JsonValue out;
    struct Case {
        const char* text;
        size_t values;  // how many the document holds
    };
    const Case cases[] = {
        {"0", 1}, {"[]", 1}, {"[0,0,0]", 4}, {R"({"a":1,"b":[true,null]})", 5}, {R"({"a":{"b":{}}})", 3},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(ParseJson(c.text, out, c.values)) << c.text;
        EXPECT_FALSE(ParseJson(c.text, out, c.values - 1)) << c.text;
    }
    EXPECT_FALSE(ParseJson("0", out, 0));

    // The default bound: a flat array just inside it, and one value beyond.
    std::string flat = "[0";
    flat.reserve(2 * MaxJsonValues + 2);
    for (size_t i = 2; i < MaxJsonValues; ++i) {
        flat += ",0";
    }
    EXPECT_TRUE(ParseJson(flat + "]", out));
    EXPECT_EQ(out.Elements().size(), MaxJsonValues - 1);
    EXPECT_FALSE(ParseJson(flat + ",0]", out));
    EXPECT_EQ(out.Elements().size(), MaxJsonValues - 1) << "a refused document leaves the output alone";
}

TEST(JsonParse, SurrogateEscapes)
{
    EXPECT_EQ(ParseString(R"("\uD83D\uDE00")"), "\xF0\x9F\x98\x80");
    EXPECT_EQ(ParseString(R"("\uDE00")"), "\xEF\xBF\xBD");
    EXPECT_EQ(ParseString(R"("\uD83DA")"), "\xEF\xBF\xBD" "A");
    EXPECT_EQ(ParseString(R"("\uD83D\u0041")"), "\xEF\xBF\xBD" "A");
    EXPECT_EQ(ParseString(R"("\uD83D\uD83D\uDE00")"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD")
        << "a second high surrogate is not paired with what follows it";
    EXPECT_EQ(ParseString(R"("\uD83D")"), "\xEF\xBF\xBD");
    EXPECT_EQ(ParseString(R"("\uDBFF\uDFFF")"), "\xF4\x8F\xBF\xBF");
    EXPECT_EQ(ParseString(R"("\u00e9\u20AC\u0000x")"), std::string("\xC3\xA9\xE2\x82\xAC\0x", 7));
    EXPECT_FALSE(Parses(R"("\uD83D\u12")")) << "a broken second escape still fails";
}

TEST(JsonParse, StringsKeepRawBytesAndSimpleEscapes)
{
    EXPECT_EQ(ParseString("\"a\nb\tc\""), "a\nb\tc");
    EXPECT_EQ(ParseString("\"\xFF\xFE\x80\""), "\xFF\xFE\x80") << "invalid UTF-8 is copied as it is";
    EXPECT_EQ(ParseString(R"("\"\\\/\b\f\n\r\t")"), "\"\\/\b\f\n\r\t");
}

TEST(JsonValue, ObjectsKeepOrderAndDuplicates)
{
    const JsonValue value = Parse(R"({"a": 1, "b": 2, "a": 3})");
    ASSERT_EQ(value.Members().size(), 3u);
    EXPECT_EQ(value.Members()[2].first, "a");
    EXPECT_EQ(value.Find("a")->NumberOr(0), 1);
    EXPECT_EQ(value.Find("c"), nullptr);
    EXPECT_EQ(Parse("[1]").Find("a"), nullptr);
}

TEST(JsonValue, AccessorsConvertOnlyAsDocumented)
{
    EXPECT_EQ(Parse("true").NumberOr(7), 7) << "a boolean is not a number";
    EXPECT_TRUE(Parse("2").BoolOr(false));
    EXPECT_FALSE(Parse("0").BoolOr(true));
    EXPECT_TRUE(JsonValue(std::numeric_limits<double>::quiet_NaN()).BoolOr(false));
    EXPECT_TRUE(Parse("\"x\"").BoolOr(true));
    EXPECT_FALSE(Parse("\"x\"").BoolOr(false));
    EXPECT_FALSE(Parse("null").IsTruthy());
    EXPECT_EQ(Parse("1").StringOr("d"), "d");
    EXPECT_TRUE(Parse("{}").Elements().empty());
}

std::string Write(const JsonValue& value)
{
    std::string text = SerializeJson(value, 2);
    EXPECT_EQ(text.back(), '\n');
    text.pop_back();
    return text;
}

TEST(JsonWrite, Numbers)
{
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {3, "3"}, {2.5, "2.5"}, {0.62, "0.62"}, {1e15, "1000000000000000"}, {1e20, "1e+20"},
        {1e-7, "1e-07"}, {-0.0, "0"}, {-42, "-42"}, {0.1 + 0.2, "0.3"}, {123456789.123, "123456789.1"},
        {9223372036854774784.0, "9223372036854774784"}, {9223372036854775808.0, "9.223372037e+18"},
        {-9223372036854774784.0, "-9223372036854774784"}, {4294967295.0, "4294967295"},
        {std::numeric_limits<double>::quiet_NaN(), "0"}, {std::numeric_limits<double>::infinity(), "0"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Write(JsonValue(c.value)), c.text) << c.text;
    }
}

TEST(JsonWrite, StringEscapes)
{
    EXPECT_EQ(Write(JsonValue(std::string("\x01\x7F", 2))), "\"\\u0001\x7F\"");
    EXPECT_EQ(Write(JsonValue(std::string("q\"b\\/\b\f\n\r\t\x1F\0", 12))),
              "\"q\\\"b\\\\/\\b\\f\\n\\r\\t\\u001f\\u0000\"");
    EXPECT_EQ(Write(JsonValue("é€😀")), "\"é€😀\"");
}

TEST(JsonWrite, LayoutOfObjectsAndArrays)
{
    JsonValue root = JsonValue::MakeObject();
    root.Append("empty", JsonValue::MakeObject());
    root.Append("none", JsonValue::MakeArray());
    JsonValue list = JsonValue::MakeArray();
    list.Push(JsonValue(1));
    list.Push(JsonValue(true));
    list.Push(JsonValue());
    root.Append("list", std::move(list));
    JsonValue inner = JsonValue::MakeObject();
    inner.Append("k", JsonValue("v"));
    root.Append("inner", std::move(inner));
    EXPECT_EQ(SerializeJson(root, 2),
              "{\n"
              "  \"empty\": {},\n"
              "  \"none\": [],\n"
              "  \"list\": [\n"
              "    1,\n"
              "    true,\n"
              "    null\n"
              "  ],\n"
              "  \"inner\": {\n"
              "    \"k\": \"v\"\n"
              "  }\n"
              "}\n");
    EXPECT_EQ(SerializeJson(JsonValue(false), 2), "false\n");
}

TEST(JsonRoundTrip, WrittenTextReadsBackToTheSameValue)
{
    const char* document = R"({"a":[1,2.5,-3e-9,"x\u0001y",{"b":null,"b":false}],"c":{},"d":"\uD83D\uDE00"})";
    const JsonValue value = Parse(document);
    const std::string text = SerializeJson(value, 2);
    JsonValue again;
    ASSERT_TRUE(ParseJson(text, again));
    EXPECT_EQ(again, value);
    EXPECT_EQ(SerializeJson(again, 2), text);
}

}  // namespace
}  // namespace cadrels
