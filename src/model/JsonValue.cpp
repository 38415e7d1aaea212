#include "model/JsonValue.h"

namespace cadrels {
namespace {

const std::vector<JsonValue> NoElements;
const std::vector<JsonValue::Member> NoMembers;

}  // namespace

JsonValue JsonValue::MakeArray()
{
    JsonValue value;
    value.payload_.emplace<std::vector<JsonValue>>();
    return value;
}

JsonValue JsonValue::MakeObject()
{
    JsonValue value;
    value.payload_.emplace<std::vector<Member>>();
    return value;
}

void JsonValue::Push(JsonValue value)
{
    if (auto* elements = std::get_if<std::vector<JsonValue>>(&payload_)) {
        elements->push_back(std::move(value));
    }
}

void JsonValue::Append(std::string key, JsonValue value)
{
    if (auto* members = std::get_if<std::vector<Member>>(&payload_)) {
        members->emplace_back(std::move(key), std::move(value));
    }
}

const JsonValue* JsonValue::Find(std::string_view key) const
{
    if (const auto* members = std::get_if<std::vector<Member>>(&payload_)) {
        for (const Member& member : *members) {
            if (member.first == key) {
                return &member.second;
            }
        }
    }
    return nullptr;
}

double JsonValue::NumberOr(double fallback) const
{
    const double* number = std::get_if<double>(&payload_);
    return number ? *number : fallback;
}

bool JsonValue::BoolOr(bool fallback) const
{
    if (const bool* flag = std::get_if<bool>(&payload_)) {
        return *flag;
    }
    if (const double* number = std::get_if<double>(&payload_)) {
        return !(*number == 0.0);  // NaN compares unequal, so it counts as true
    }
    return fallback;
}

std::string_view JsonValue::StringOr(std::string_view fallback) const
{
    const std::string* text = std::get_if<std::string>(&payload_);
    return text ? std::string_view(*text) : fallback;
}

const std::vector<JsonValue>& JsonValue::Elements() const
{
    const auto* elements = std::get_if<std::vector<JsonValue>>(&payload_);
    return elements ? *elements : NoElements;
}

const std::vector<JsonValue::Member>& JsonValue::Members() const
{
    const auto* members = std::get_if<std::vector<Member>>(&payload_);
    return members ? *members : NoMembers;
}

std::vector<JsonValue>& JsonValue::MutableElements()
{
    if (!IsArray()) {
        payload_.emplace<std::vector<JsonValue>>();
    }
    return std::get<std::vector<JsonValue>>(payload_);
}

std::vector<JsonValue::Member>& JsonValue::MutableMembers()
{
    if (!IsObject()) {
        payload_.emplace<std::vector<Member>>();
    }
    return std::get<std::vector<Member>>(payload_);
}

}  // namespace cadrels
