// A strict one-pass recursive-descent reader. It never throws for bad input:
// the first error clears the ok flag and every routine then returns at once.
#include "model/JsonValue.h"

#include "base/HexDigit.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <locale.h>

namespace cadrels {
namespace {

constexpr int MaxNesting = 200;

// One table answers the three per-byte questions of the hot loops.
enum CharClass : unsigned char { Whitespace = 1, NumberChar = 2, StringStop = 4 };

struct CharClasses {
    unsigned char of[256] = {};
    constexpr CharClasses()
    {
        for (char c : {' ', '\t', '\r', '\n'}) {
            of[static_cast<unsigned char>(c)] |= Whitespace;
        }
        for (char c : {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9', '.', '+', '-', 'e', 'E'}) {
            of[static_cast<unsigned char>(c)] |= NumberChar;
        }
        of[static_cast<unsigned char>('"')] |= StringStop;
        of[static_cast<unsigned char>('\\')] |= StringStop;
    }
};
constexpr CharClasses Classes;

bool Is(char c, CharClass what)
{
    return (Classes.of[static_cast<unsigned char>(c)] & what) != 0;
}

void AppendUtf8(std::string& out, unsigned codePoint)
{
    if (codePoint < 0x80) {
        out.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

constexpr unsigned ReplacementCharacter = 0xFFFD;

bool IsHighSurrogate(unsigned unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(unsigned unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// strtod in the "C" locale whatever the process locale is: a decimal comma
// locale must not change how the layout file reads.
double StrtodC(const char* text, char** end)
{
    static const _locale_t cLocale = _create_locale(LC_NUMERIC, "C");
    return cLocale ? _strtod_l(text, end, cLocale) : std::strtod(text, end);
}

class Parser {
public:
    Parser(std::string_view text, size_t maxValues)
        : p_(text.data()), end_(text.data() + text.size()), valuesLeft_(maxValues)
    {
        elementStack_.reserve(64);
        memberStack_.reserve(64);
    }

    bool ParseDocument(JsonValue& out)
    {
        ParseValue(out);
        SkipWhitespace();
        return ok_ && p_ == end_;
    }

private:
    void Fail() { ok_ = false; }

    void SkipWhitespace()
    {
        while (p_ < end_ && Is(*p_, Whitespace)) {
            ++p_;
        }
    }

    void ParseValue(JsonValue& out)
    {
        if (!ok_) {
            return;
        }
        SkipWhitespace();
        if (p_ == end_ || ++nesting_ > MaxNesting || valuesLeft_ == 0) {
            Fail();
            return;
        }
        --valuesLeft_;
        switch (*p_) {
        case '"': {
            std::string text;
            ParseString(text);
            out = JsonValue(std::move(text));
            break;
        }
        case '[':
            ParseArray(out);
            break;
        case '{':
            ParseObject(out);
            break;
        case 't':
        case 'f':
            ParseBoolean(out);
            break;
        case 'n':
            ParseNull(out);
            break;
        default:
            ParseNumber(out);
            break;
        }
        --nesting_;
    }

    bool Next(std::string_view literal) const
    {
        return static_cast<size_t>(end_ - p_) >= literal.size() && std::string_view(p_, literal.size()) == literal;
    }

    void ParseBoolean(JsonValue& out)
    {
        if (Next("true")) {
            p_ += 4;
            out = JsonValue(true);
        } else if (Next("false")) {
            p_ += 5;
            out = JsonValue(false);
        } else {
            Fail();
        }
    }

    void ParseNull(JsonValue& out)
    {
        if (Next("null")) {
            p_ += 4;
            out = JsonValue();
        } else {
            Fail();
        }
    }

    void ParseNumber(JsonValue& out)
    {
        const char* start = p_;
        if (*p_ == '-') {
            ++p_;
        }
        const char* runStart = p_;
        while (p_ < end_ && Is(*p_, NumberChar)) {
            ++p_;
        }
        // An empty run ("-" at the end of the input) fails before any read:
        // the text need not be terminated, so end_ may not be dereferenced.
        if (p_ == runStart || *runStart == '+') {
            Fail();
            return;
        }
        double value = 0;
        // from_chars is correctly rounded like strtod and much faster; strtod
        // still decides whatever from_chars refuses (underflow to zero, say).
        const auto [end, error] = std::from_chars(start, p_, value);
        if (error != std::errc() || end != p_) {
            const std::string text(start, p_);
            char* converted = nullptr;
            value = StrtodC(text.c_str(), &converted);
            if (converted != text.c_str() + text.size() || !std::isfinite(value)) {
                Fail();
                return;
            }
        }
        out = JsonValue(value);
    }

    // Four hex digits after "\u"; -1 when they are not there.
    int ReadHex4(const char* at) const
    {
        if (end_ - at < 4) {
            return -1;
        }
        int value = 0;
        for (int i = 0; i < 4; ++i) {
            const int digit = HexDigit(at[i]);
            if (digit < 0) {
                return -1;
            }
            value = value * 16 + digit;
        }
        return value;
    }

    void ParseString(std::string& out)
    {
        ++p_;  // opening quote
        for (;;) {
            const char* runStart = p_;
            while (p_ < end_ && !Is(*p_, StringStop)) {
                ++p_;
            }
            out.append(runStart, p_);
            if (p_ == end_) {
                Fail();
                return;
            }
            if (*p_ == '"') {
                ++p_;
                return;
            }
            ++p_;  // backslash
            if (p_ == end_) {
                Fail();
                return;
            }
            const char escape = *p_++;
            switch (escape) {
            case '"':
            case '/':
            case '\\':
                out.push_back(escape);
                break;
            case 'b':
                out.push_back('\b');
                break;
            case 'f':
                out.push_back('\f');
                break;
            case 'n':
                out.push_back('\n');
                break;
            case 'r':
                out.push_back('\r');
                break;
            case 't':
                out.push_back('\t');
                break;
            case 'u':
                if (!ParseUnicodeEscape(out)) {
                    Fail();
                    return;
                }
                break;
            default:
                Fail();
                return;
            }
        }
    }

    bool ParseUnicodeEscape(std::string& out)
    {
        const int unit = ReadHex4(p_);
        if (unit < 0) {
            return false;
        }
        p_ += 4;
        if (IsLowSurrogate(static_cast<unsigned>(unit))) {
            AppendUtf8(out, ReplacementCharacter);
            return true;
        }
        if (!IsHighSurrogate(static_cast<unsigned>(unit))) {
            AppendUtf8(out, static_cast<unsigned>(unit));
            return true;
        }
        const int second = (end_ - p_ >= 2 && p_[0] == '\\' && p_[1] == 'u') ? ReadHex4(p_ + 2) : -1;
        if (second < 0) {
            // Not a pair: the high surrogate alone; what follows is read as usual.
            AppendUtf8(out, ReplacementCharacter);
            return true;
        }
        p_ += 6;
        if (IsLowSurrogate(static_cast<unsigned>(second))) {
            const unsigned codePoint =
                0x10000 + ((static_cast<unsigned>(unit) - 0xD800) << 10) + (static_cast<unsigned>(second) - 0xDC00);
            AppendUtf8(out, codePoint);
            return true;
        }
        AppendUtf8(out, ReplacementCharacter);
        const bool secondIsSurrogate = IsHighSurrogate(static_cast<unsigned>(second));
        AppendUtf8(out, secondIsSurrogate ? ReplacementCharacter : static_cast<unsigned>(second));
        return true;
    }

    // Children are gathered on a scratch stack shared by all levels and moved
    // into a container of exactly their number: one allocation per container
    // instead of one per doubling.
    template <typename Item>
    static void MoveTopInto(std::vector<Item>& stack, size_t mark, std::vector<Item>& target)
    {
        target.reserve(stack.size() - mark);
        for (size_t i = mark; i < stack.size(); ++i) {
            target.push_back(std::move(stack[i]));
        }
        stack.resize(mark);
    }

    void ParseArray(JsonValue& out)
    {
        ++p_;
        out = JsonValue::MakeArray();
        SkipWhitespace();
        if (p_ < end_ && *p_ == ']') {
            ++p_;
            return;
        }
        const size_t mark = elementStack_.size();
        for (;;) {
            JsonValue value;
            ParseValue(value);
            if (!ok_) {
                return;
            }
            elementStack_.push_back(std::move(value));
            SkipWhitespace();
            if (p_ < end_ && *p_ == ',') {
                ++p_;
                continue;
            }
            if (p_ < end_ && *p_ == ']') {
                ++p_;
                MoveTopInto(elementStack_, mark, out.MutableElements());
                return;
            }
            Fail();
            return;
        }
    }

    void ParseObject(JsonValue& out)
    {
        ++p_;
        out = JsonValue::MakeObject();
        SkipWhitespace();
        if (p_ < end_ && *p_ == '}') {
            ++p_;
            return;
        }
        const size_t mark = memberStack_.size();
        for (;;) {
            SkipWhitespace();
            if (p_ == end_ || *p_ != '"') {
                Fail();
                return;
            }
            const size_t index = memberStack_.size();
            memberStack_.emplace_back();
            ParseString(memberStack_.back().first);
            if (!ok_) {
                return;
            }
            SkipWhitespace();
            if (p_ == end_ || *p_ != ':') {
                Fail();
                return;
            }
            ++p_;
            // The value is parsed aside: nested containers grow the stacks,
            // which would leave a reference into them dangling.
            JsonValue value;
            ParseValue(value);
            if (!ok_) {
                return;
            }
            memberStack_[index].second = std::move(value);
            SkipWhitespace();
            if (p_ < end_ && *p_ == ',') {
                ++p_;
                continue;
            }
            if (p_ < end_ && *p_ == '}') {
                ++p_;
                MoveTopInto(memberStack_, mark, out.MutableMembers());
                return;
            }
            Fail();
            return;
        }
    }

    const char* p_;
    const char* end_;
    bool ok_ = true;
    int nesting_ = 0;
    size_t valuesLeft_;
    std::vector<JsonValue> elementStack_;
    std::vector<JsonValue::Member> memberStack_;
};

}  // namespace

bool ParseJson(std::string_view text, JsonValue& out, size_t maxValues)
{
    JsonValue result;
    if (!Parser(text, maxValues).ParseDocument(result)) {
        return false;
    }
    out = std::move(result);
    return true;
}

}  // namespace cadrels
