// The pretty-printing writer: members on their own lines, `indent` spaces a
// level, integers without a decimal point, other numbers with ten digits.
//
// The document is walked twice: once to bound the output size, once to write
// into a string reserved to that bound. Growing the string instead costs a
// copy and fresh pages at every doubling, which on a multi-megabyte layout was
// most of the time. The bound is exact but for numbers, which are counted at
// their longest rather than formatted twice.
#include "model/JsonValue.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace cadrels {
namespace {

// The largest double below 2^63: anything up to it converts to a 64-bit integer.
constexpr double LargestInt64Double = 9223372036854774784.0;

// Bytes that need an escape: control characters, the quote and the backslash.
struct EscapeTable {
    bool needed[256] = {};
    constexpr EscapeTable()
    {
        for (int c = 0; c < 0x20; ++c) {
            needed[c] = true;
        }
        needed[static_cast<unsigned char>('"')] = true;
        needed[static_cast<unsigned char>('\\')] = true;
    }
};
constexpr EscapeTable Escapes;

constexpr bool NeedsEscape(unsigned char c)
{
    return Escapes.needed[c];
}

size_t FormatNumber(char (&buffer)[40], double value)
{
    if (!std::isfinite(value)) {
        buffer[0] = '0';
        return 1;
    }
    std::to_chars_result result{};
    if (std::fabs(value) <= LargestInt64Double && value == static_cast<double>(static_cast<long long>(value))) {
        result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<long long>(value));
    } else {
        // The same text as printf's "%.10g" in the C locale, without the CRT's
        // locale and exponent-width settings.
        result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 10);
    }
    return static_cast<size_t>(result.ptr - buffer);
}

// An upper bound of the output size.
class SizeBoundSink {
public:
    // No number is written with more than 24 characters ("-9.223372037e+18").
    static constexpr size_t MaxNumberChars = 24;

    void Put(char) { ++size_; }
    void Put(const char*, size_t length) { size_ += length; }
    void Fill(char, size_t count) { size_ += count; }
    void PutNumber(double) { size_ += MaxNumberChars; }
    size_t Size() const { return size_; }

private:
    size_t size_ = 0;
};

// Writes through a raw pointer into a buffer known to be large enough.
class BufferSink {
public:
    explicit BufferSink(char* start) : p_(start) {}
    void Put(char c) { *p_++ = c; }
    void Put(const char* text, size_t length)
    {
        std::memcpy(p_, text, length);
        p_ += length;
    }
    void Fill(char c, size_t count)
    {
        std::memset(p_, c, count);
        p_ += count;
    }
    void PutNumber(double value)
    {
        char buffer[40];
        Put(buffer, FormatNumber(buffer, value));
    }
    char* End() const { return p_; }

private:
    char* p_;
};

template <typename Sink>
class Writer {
public:
    Writer(Sink& sink, int indent) : sink_(sink), indent_(indent < 0 ? 0 : static_cast<size_t>(indent)) {}

    void Write(const JsonValue& value, size_t depth)
    {
        switch (value.GetType()) {
        case JsonValue::Type::Null:
            sink_.Put("null", 4);
            break;
        case JsonValue::Type::Boolean:
            if (value.BoolOr(false)) {
                sink_.Put("true", 4);
            } else {
                sink_.Put("false", 5);
            }
            break;
        case JsonValue::Type::Number:
            sink_.PutNumber(value.NumberOr(0));
            break;
        case JsonValue::Type::String:
            WriteString(value.StringOr({}));
            break;
        case JsonValue::Type::Array:
            WriteArray(value.Elements(), depth);
            break;
        case JsonValue::Type::Object:
            WriteObject(value.Members(), depth);
            break;
        }
    }

private:
    void WriteString(std::string_view text)
    {
        static constexpr char Hex[] = "0123456789abcdef";
        sink_.Put('"');
        const char* runStart = text.data();
        const char* end = text.data() + text.size();
        for (const char* p = runStart; p < end; ++p) {
            const unsigned char c = static_cast<unsigned char>(*p);
            if (!NeedsEscape(c)) {
                continue;
            }
            sink_.Put(runStart, static_cast<size_t>(p - runStart));
            runStart = p + 1;
            switch (c) {
            case '"':
                sink_.Put("\\\"", 2);
                break;
            case '\\':
                sink_.Put("\\\\", 2);
                break;
            case '\b':
                sink_.Put("\\b", 2);
                break;
            case '\f':
                sink_.Put("\\f", 2);
                break;
            case '\n':
                sink_.Put("\\n", 2);
                break;
            case '\r':
                sink_.Put("\\r", 2);
                break;
            case '\t':
                sink_.Put("\\t", 2);
                break;
            default: {
                const char escape[] = {'\\', 'u', '0', '0', Hex[c >> 4], Hex[c & 0xF]};
                sink_.Put(escape, sizeof escape);
                break;
            }
            }
        }
        sink_.Put(runStart, static_cast<size_t>(end - runStart));
        sink_.Put('"');
    }

    void EndItem(bool last)
    {
        if (last) {
            sink_.Put('\n');
        } else {
            sink_.Put(",\n", 2);
        }
    }

    void WriteArray(const std::vector<JsonValue>& elements, size_t depth)
    {
        if (elements.empty()) {
            sink_.Put("[]", 2);
            return;
        }
        sink_.Put("[\n", 2);
        for (size_t i = 0; i < elements.size(); ++i) {
            sink_.Fill(' ', indent_ * (depth + 1));
            Write(elements[i], depth + 1);
            EndItem(i + 1 == elements.size());
        }
        sink_.Fill(' ', indent_ * depth);
        sink_.Put(']');
    }

    void WriteObject(const std::vector<JsonValue::Member>& members, size_t depth)
    {
        if (members.empty()) {
            sink_.Put("{}", 2);
            return;
        }
        sink_.Put("{\n", 2);
        for (size_t i = 0; i < members.size(); ++i) {
            sink_.Fill(' ', indent_ * (depth + 1));
            WriteString(members[i].first);
            sink_.Put(": ", 2);
            Write(members[i].second, depth + 1);
            EndItem(i + 1 == members.size());
        }
        sink_.Fill(' ', indent_ * depth);
        sink_.Put('}');
    }

    Sink& sink_;
    size_t indent_;
};

}  // namespace

std::string SerializeJson(const JsonValue& value, int indent)
{
    SizeBoundSink bound;
    Writer<SizeBoundSink>(bound, indent).Write(value, 0);
    std::string out(bound.Size() + 1, '\0');
    BufferSink sink(out.data());
    Writer<BufferSink>(sink, indent).Write(value, 0);
    sink.Put('\n');
    out.resize(static_cast<size_t>(sink.End() - out.data()));
    return out;
}

}  // namespace cadrels
