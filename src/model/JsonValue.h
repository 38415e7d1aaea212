// The program's own JSON document model, reader and writer. Strings are UTF-8
// byte strings (any bytes, NUL included); numbers are doubles; object members
// keep their order and may repeat a key.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace cadrels {

class JsonValue {
public:
    enum class Type : std::uint8_t { Null = 0, Boolean = 1, Number = 2, String = 3, Array = 4, Object = 5 };
    using Member = std::pair<std::string, JsonValue>;

    JsonValue() = default;
    explicit JsonValue(bool value) : payload_(value) {}
    JsonValue(double value) : payload_(value) {}
    JsonValue(int value) : payload_(static_cast<double>(value)) {}
    JsonValue(unsigned value) : payload_(static_cast<double>(value)) {}
    JsonValue(long long value) : payload_(static_cast<double>(value)) {}
    JsonValue(std::string value) : payload_(std::move(value)) {}
    JsonValue(std::string_view value) : payload_(std::string(value)) {}
    JsonValue(const char* value) : payload_(std::string(value)) {}

    static JsonValue MakeArray();
    static JsonValue MakeObject();

    Type GetType() const { return static_cast<Type>(payload_.index()); }
    bool IsNull() const { return GetType() == Type::Null; }
    bool IsBool() const { return GetType() == Type::Boolean; }
    bool IsNumber() const { return GetType() == Type::Number; }
    bool IsString() const { return GetType() == Type::String; }
    bool IsArray() const { return GetType() == Type::Array; }
    bool IsObject() const { return GetType() == Type::Object; }

    // Appends to an array / an object (no look-up for an existing key).
    void Push(JsonValue value);
    void Append(std::string key, JsonValue value);

    // The first member with exactly this key; null when absent or not an object.
    const JsonValue* Find(std::string_view key) const;

    double NumberOr(double fallback) const;
    // A boolean as is; a number is true unless it is 0 (NaN counts as true).
    bool BoolOr(bool fallback) const;
    std::string_view StringOr(std::string_view fallback) const;
    bool IsTruthy() const { return BoolOr(false); }

    // Empty for values of another type.
    const std::vector<JsonValue>& Elements() const;
    const std::vector<Member>& Members() const;
    std::vector<JsonValue>& MutableElements();
    std::vector<Member>& MutableMembers();

    friend bool operator==(const JsonValue&, const JsonValue&) = default;

private:
    std::variant<std::monostate, bool, double, std::string, std::vector<JsonValue>, std::vector<Member>> payload_;
};

// Values one document may hold (every number, string, literal, array and
// object counts one; member names do not). A value costs tens of bytes in
// memory against one or two in the file, so without a bound a 64 MiB file of
// "[0,0,0,..." would take gigabytes. The largest arrangement a user builds
// stays far below it.
inline constexpr size_t MaxJsonValues = 1000000;

// Strict whole-document parse; false on any error, and when the document
// holds more than `maxValues` values (nothing is thrown).
bool ParseJson(std::string_view text, JsonValue& out, size_t maxValues = MaxJsonValues);

// `indent` spaces per level, one line feed after the value.
std::string SerializeJson(const JsonValue& value, int indent);

}  // namespace cadrels
